// qv_robustness: mutated archives, mutated language files and fault
// injection in a full installation, each variant checked in a child process
// so that a crash or hang is counted instead of ending the run.
//
//   qv_robustness archive|language|faults|earlier|fulldisk N [seed]
//   qv_robustness all NARCHIVE NLANGUAGE [seed]     (prints the summary table)
//   qv_robustness child MODE FIRST COUNT SEED STATEFILE   (internal)
//   qv_robustness probe MODE 0 0 SEED STATEFILE           (internal)

#include "ArchiveCheck.h"
#include "ArchiveMutator.h"
#include "BatchDriver.h"
#include "EngineTestSupport.h"
#include "FaultRuns.h"
#include "FullDiskRuns.h"
#include "LanguageCheck.h"
#include "LanguageMutator.h"
#include "TestMedium.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <windows.h>

namespace
{
const long ARCHIVE_BATCH = 1000;
const long LANGUAGE_BATCH = 1000;
const long FAULT_BATCH = 100;
const unsigned long HANG_MS = 20000;

// A small valid archive: empty, tiny and larger entries, names of the plan.
std::string ValidArchive(const TempFolder& folder, std::vector<std::string>& names)
{
    TestArchive archive;
    archive["Empty.dat"] = {"", TestFileTime(1)};
    archive["QvAgent.exe"] = {"A", TestFileTime(2)};
    archive["ReadMe.html"] = {std::string(333, 'r'), TestFileTime(3)};
    archive["Texture001.bmp"] = {std::string(700, 't'), TestFileTime(4)};
    archive["License_ENGLISH.html"] = {"licence text", TestFileTime(5)};
    for (const auto& entry : archive)
        names.push_back(entry.first);
    std::string sPath = folder / "valid.dat";
    WriteTestArchive(sPath, archive);
    std::string sData;
    HANDLE h = CreateFileA(sPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    char buf[4096];
    DWORD n = 0;
    while (h != INVALID_HANDLE_VALUE && ReadFile(h, buf, sizeof(buf), &n, nullptr) && n > 0)
        sData.append(buf, n);
    if (h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
    return sData;
}

int RunChild(const std::string& sMode, long iFirst, long iCount, unsigned uSeed,
             const char* pszState)
{
    CBatchStateWriter writer(pszState);
    TempFolder folder;
    if (sMode == "archive")
    {
        std::vector<std::string> names;
        std::string sValid = ValidArchive(folder, names);
        CArchiveCheck check(folder.Path(), names);
        RunChildBatch(writer, iFirst, iCount,
                      [&](long i) {
                          return check.Check(MutateArchive(sValid, i, uSeed)) ? 0 : VARIANT_FAILED;
                      });
    }
    else if (sMode == "language")
    {
        std::string sValid = ValidLanguageFile();
        CLanguageCheck check(folder.Path());
        RunChildBatch(writer, iFirst, iCount,
                      [&](long i) {
                          return check.Check(MutateLanguageFile(sValid, i, uSeed), i % 8 == 0)
                                     ? 0
                                     : VARIANT_FAILED;
                      });
    }
    else if (sMode.compare(0, 7, "faults:") == 0)
    {
        long iOperations = std::atol(sMode.c_str() + 7);
        RunChildBatch(writer, iFirst, iCount,
                      [&](long i) { return CheckFaultRun(i, iOperations); });
    }
    else if (sMode.compare(0, 8, "earlier:") == 0)
    {
        long iOperations = std::atol(sMode.c_str() + 8);
        RunChildBatch(writer, iFirst, iCount,
                      [&](long i) { return CheckOverEarlierRun(i, iOperations); });
    }
    else if (sMode.compare(0, 9, "fulldisk:") == 0)
    {
        long iPlanFiles = std::atol(sMode.c_str() + 9);
        long iImages = std::atol(sMode.c_str() + sMode.rfind(':') + 1);
        RunChildBatch(writer, iFirst, iCount,
                      [&](long i) { return CheckFullDiskRun(i, iPlanFiles, iImages); });
    }
    return 0;
}

struct CRow
{
    const char* pszName;
    CBatchFigures figures;
    const char* pszBad;
    bool bFalseColumn;
    bool bRan = true; // false: the row could not run here (no small drive)
};

CBatchFigures RunFaults(const std::string& sMode, long iMax, unsigned uSeed)
{
    CBatchState probe;
    if (!RunProbe(sMode, uSeed, probe))
    {
        std::fprintf(stderr, "%s: the clean installation failed\n", sMode.c_str());
        CBatchFigures figures;
        figures.iBad = 1;
        return figures;
    }
    long iOperations = probe.iAux / 1000;
    long iTotal = iOperations + probe.iAux % 1000;
    std::printf("%s: %ld operations, %ld files\n", sMode.c_str(), iOperations, probe.iAux % 1000);
    std::fflush(stdout);
    return RunInBatches(sMode + ":" + std::to_string(iOperations), iTotal < iMax ? iTotal : iMax,
                        FAULT_BATCH, uSeed, HANG_MS);
}

CBatchFigures RunFullDisk(long iMax, unsigned uSeed)
{
    CBatchState probe;
    if (!RunProbe("fulldisk", uSeed, probe))
    {
        std::fprintf(stderr, "fulldisk: the clean installations failed\n");
        CBatchFigures figures;
        figures.iBad = 1;
        return figures;
    }
    long iPlanFiles = probe.iAux / 1000;
    long iImages = probe.iAux % 1000;
    long iTotal = 2 * (iPlanFiles + iImages);
    std::printf("fulldisk: %ld plan files and %ld images on the small drive %s\n", iPlanFiles,
                iImages, SmallDrive().c_str());
    std::fflush(stdout);
    return RunInBatches("fulldisk:" + std::to_string(iPlanFiles) + ":" + std::to_string(iImages),
                        iTotal < iMax ? iTotal : iMax, FAULT_BATCH, uSeed, HANG_MS);
}

CBatchFigures RunMode(const std::string& sMode, long iCount, unsigned uSeed)
{
    if (sMode == "faults" || sMode == "earlier")
        return RunFaults(sMode, iCount, uSeed);
    if (sMode == "fulldisk")
        return RunFullDisk(iCount, uSeed);
    return RunInBatches(sMode, iCount, sMode == "archive" ? ARCHIVE_BATCH : LANGUAGE_BATCH, uSeed,
                        HANG_MS);
}

// The exit code of a row that could not run here; ctest counts it as skipped.
constexpr int EXIT_NOT_RUN = 77;

// Prints the table; 0 when every row ran clean, 1 with faults, EXIT_NOT_RUN
// when the rows that ran were clean but one could not run.
int PrintSummary(const std::vector<CRow>& rows, unsigned uSeed)
{
    std::printf("\nRobustness summary (seed %u)\n", uSeed);
    std::printf("%-26s %9s %8s %6s %7s %6s %5s  %s\n", "run", "tried", "crashes", "hangs", "failed",
                "false", "left",
                "failed means (false: reported success, installed something else; left: runs "
                "that left something)");
    bool bClean = true;
    bool bAllRan = true;
    for (const CRow& row : rows)
    {
        if (!row.bRan)
        {
            std::printf("%-26s skipped: cannot mount\n", row.pszName);
            bAllRan = false;
            continue;
        }
        const CBatchFigures& f = row.figures;
        std::string sFalse = row.bFalseColumn ? std::to_string(f.iFalse) : "-";
        std::string sLeft = row.bFalseColumn ? std::to_string(f.iLeft) : "-";
        std::printf("%-26s %9ld %8ld %6ld %7ld %6s %5s  %s\n", row.pszName, f.iTried, f.iCrashes,
                    f.iHangs, f.iBad, sFalse.c_str(), sLeft.c_str(), row.pszBad);
        bClean = bClean && f.iCrashes == 0 && f.iHangs == 0 && f.iBad == 0 && f.iFalse == 0 &&
                 f.iTried > 0;
        for (long i : f.badVariants)
            std::printf("    variant to look at: %ld\n", i);
    }
    const char* pszResult = !bClean ? "FAULTS FOUND" : bAllRan ? "clean" : "not all run";
    std::printf("result: %s\n", pszResult);
    std::fflush(stdout);
    return !bClean ? 1 : bAllRan ? 0 : EXIT_NOT_RUN;
}

const char* ModeName(const std::string& sMode)
{
    if (sMode == "archive")
        return "mutated Setup.dat";
    if (sMode == "language")
        return "mutated SetupLang.dat";
    if (sMode == "earlier")
        return "same, over an install";
    if (sMode == "fulldisk")
        return "full disk (small drive)";
    return "fault injection + Stop";
}

const char* ModeBad(const std::string& sMode)
{
    if (sMode == "archive")
        return "false successes (bytes differ / outside file)";
    if (sMode == "language")
        return "false successes (texts unusable / export differs)";
    if (sMode == "earlier")
        return "machine differs from before after rollback, or unspecified message";
    if (sMode == "fulldisk")
        return "no copy error box, or either drive / registry / earlier install not as before";
    return "leftovers after rollback, or unspecified message";
}
CRow Row(const std::string& sMode, long iCount, unsigned uSeed)
{
    bool bInstalls = sMode == "faults" || sMode == "earlier" || sMode == "fulldisk";
    if (sMode == "fulldisk" && SmallDrive().empty())
        return {ModeName(sMode), CBatchFigures(), ModeBad(sMode), true, false};
    return {ModeName(sMode), RunMode(sMode, iCount, uSeed), ModeBad(sMode), bInstalls};
}
} // namespace

int main(int argc, char** argv)
{
    std::string sCommand = argc > 1 ? argv[1] : "";
    if ((sCommand == "child" || sCommand == "probe") && argc == 7)
    {
        if (sCommand == "probe")
        {
            CBatchStateWriter writer(argv[6]);
            if (std::string(argv[2]) == "fulldisk")
                ProbeFullDiskRuns(writer);
            else
                ProbeFaultRuns(writer, std::string(argv[2]) == "earlier");
            return 0;
        }
        return RunChild(argv[2], std::atol(argv[3]), std::atol(argv[4]),
                        static_cast<unsigned>(std::strtoul(argv[5], nullptr, 10)), argv[6]);
    }
    std::vector<CRow> rows;
    unsigned uSeed = 1;
    if (sCommand == "all" && argc >= 4)
    {
        uSeed = argc > 4 ? static_cast<unsigned>(std::strtoul(argv[4], nullptr, 10)) : 1;
        rows.push_back(Row("archive", std::atol(argv[2]), uSeed));
        rows.push_back(Row("language", std::atol(argv[3]), uSeed));
        rows.push_back(Row("faults", 100000, uSeed));
        rows.push_back(Row("earlier", 100000, uSeed));
        rows.push_back(Row("fulldisk", 100000, uSeed));
    }
    else if ((sCommand == "archive" || sCommand == "language" || sCommand == "faults" ||
              sCommand == "earlier" || sCommand == "fulldisk") &&
             argc >= 3)
    {
        uSeed = argc > 3 ? static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10)) : 1;
        rows.push_back(Row(sCommand, std::atol(argv[2]), uSeed));
    }
    else
    {
        std::fprintf(stderr, "usage: qv_robustness archive|language|faults|earlier|fulldisk N "
                             "[seed]\n"
                             "       qv_robustness all NARCHIVE NLANGUAGE [seed]\n");
        return 2;
    }
    return PrintSummary(rows, uSeed);
}
