// The setup against the installer a product team would pick instead: NSIS 3
// with the Modern UI, built by scripts/bench from the same files.
//
//   bench_peer stage <medium> <folder>
//       installs once and copies what was installed into folder\Program and
//       folder\Images, the payload of the peer installers
//   bench_peer start <Setup.exe> <peer.exe>
//       process start to the first dialog: our welcome step, the peer's
//       welcome page
//   bench_peer whole <label> <medium> <peer plain.exe> <peer lzma.exe>
//       what users feel of an unattended installation, process start to
//       process end: ours "Setup.exe /VERYSILENT" against the peer's "/S",
//       uncompressed and LZMA, the three alternating run by run
//   bench_peer memory <medium> <peer plain.exe> <peer lzma.exe>
//       peak working set of each during a whole installation
#include "BenchInstall.h"
#include "BenchSupport.h"
#include "InstallHistory.h"
#include "PostInstall.h"
#include "RegistryHelpers.h"
#include "SetupState.h"

#include <cstring>
#include <utility>
#include <vector>
#include <windows.h>

namespace
{
// Each side's runs of the whole-process rows, alternating.
const int WHOLE_RUNS = 11;
const double MIB = 1024.0 * 1024.0;

// Where a file the installation wrote goes in the peer's payload:
// Program\..., Images\... or, for the screen saver, System\....
std::string PayloadPath(const char* pszPath)
{
    std::string sPath(pszPath);
    for (const auto& place :
         {std::make_pair(&g_sDstDir, "Program\\"), std::make_pair(&g_sImgDstDir, "Images\\")})
    {
        size_t n = static_cast<size_t>(place.first->Length());
        if (sPath.size() > n && sPath[n] == '\\' &&
            lstrcmpiA(sPath.substr(0, n).c_str(), place.first->GetText()) == 0)
            return place.second + sPath.substr(n + 1);
    }
    return "System\\" + sPath.substr(sPath.find_last_of('\\') + 1);
}

void MakeFolders(const std::string& sPath)
{
    for (size_t i = sPath.find('\\', 3); i != std::string::npos; i = sPath.find('\\', i + 1))
        CreateDirectoryA(sPath.substr(0, i).c_str(), nullptr);
}

int Stage(const std::string& sMedium, const std::string& sOut)
{
    BenchFolder target("stage");
    OpenMedium(sMedium, target);
    InstallOnce();
    for (int i = 0; i < g_History.GetCount(); ++i)
    {
        const CHistoryItem& item = *g_History.ItemAt(i);
        if (item.Kind != PRGFILE && item.Kind != IMGFILE)
            continue;
        std::string sTarget = sOut + "\\" + PayloadPath(item.sPath.GetText());
        MakeFolders(sTarget);
        if (!CopyFileA(item.sPath.GetText(), sTarget.c_str(), FALSE))
            Die("CopyFileA failed for " + sTarget);
    }
    UndoInstall();
    CloseMedium();
    return 0;
}

int Start(const std::string& sSetup, const std::string& sPeer)
{
    // Runs of each, alternating (see StartupBench.cpp).
    const int iRuns = 21;
    PairTiming t = MeasurePair(
        iRuns, [&] { return TimeToWindow(sSetup, "TFormStepWelcome"); },
        [&] { return TimeToWindow(sPeer, "#32770"); });
    RunSpread ratio = RatioSpread(t.candidate, t.baseline);
    PrintResult(Format("Start-up to the first dialog, against NSIS 3 MUI2 (medians of %d)", iRuns),
                SpreadText(SpreadOf(t.candidate), "%.0f", 1000) + " ms",
                "NSIS " + SpreadText(SpreadOf(t.baseline), "%.0f", 1000) + " ms",
                SpreadText(ratio, "%.2f") + " x NSIS", "<= 1.0", AtMost(ratio, 1.0));
    return 0;
}

// "peer.exe /S /D=folder": silent, into folder (the switch must come last,
// unquoted).
std::string SilentInstall(const std::string& sPeer, const BenchFolder& target)
{
    return "\"" + sPeer + "\" /S /D=" + (target / "Peer");
}

// Ours without a window into folders under target, with the defaults for
// the rest (all images, the Start-menu shortcut for all users).
std::string OurSilentInstall(const std::string& sMedium, const BenchFolder& target)
{
    return "\"" + sMedium + "\\Setup.exe\" /VERYSILENT /SUPPRESSMSGBOXES /DIR=\"" +
           (target / "Ours\\Program") + "\" /IMAGEDIR=\"" + (target / "Ours\\Images") + "\"";
}

// Takes our installation away again without its uninstaller, so that each
// run installs into an empty machine as the peer does: the folders, the
// screen saver, the shortcut and the registry.
void RemoveOurs(const BenchFolder& target)
{
    target.Empty();
    DeleteFileA(JoinPath(g_sSystemDir.GetText(), "Quorvane.scr").GetText());
    DeleteFileA(JoinPath(g_sCommonPrograms.GetText(), SHORTCUT_FILE_NAME).GetText());
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, VENDOR_REG_KEY);
    RegistryDeleteValue(HKEY_LOCAL_MACHINE, REG_RUN_KEY, REG_AUTORUN_VALUE);
    RemoveUninstallInfo(UNINSTALL_ENTRY_NAME);
}

int Whole(const char* pszLabel, const std::string& sMedium, const std::string& sPlain,
          const std::string& sLzma)
{
    BenchFolder target("whole");
    // The medium's sizes and the folders our cleanup needs, read as the setup does.
    OpenMedium(sMedium, target);
    unsigned long long qwBytes = g_qwPrgSize + g_qwImgSize;
    CloseMedium();
    auto ours = [&]
    {
        RemoveOurs(target);
        return RunToEnd(OurSilentInstall(sMedium, target));
    };
    auto peer = [&](const std::string& sInstaller)
    {
        target.Empty();
        return RunToEnd(SilentInstall(sInstaller, target));
    };
    // Warm disk caches on every side first.
    ours();
    peer(sPlain);
    peer(sLzma);
    std::vector<double> times[3];
    for (int i = 0; i < WHOLE_RUNS; ++i)
        for (int k = 0; k < 3; ++k)
        {
            int iWhich = (i + k) % 3;
            times[iWhich].push_back(iWhich == 0   ? ours()
                                    : iWhich == 1 ? peer(sPlain)
                                                  : peer(sLzma));
        }
    RemoveOurs(target);
    // Each round ran one of each: the figure is ours over NSIS's round by round.
    RunSpread ratio = RatioSpread(times[0], times[1]);
    PrintResult(Format("Unattended installation, process start to end, against NSIS 3 /S, %s (%.1f "
                       "MiB, medians of %d)",
                       pszLabel, static_cast<double>(qwBytes) / MIB, WHOLE_RUNS),
                "/VERYSILENT " + SpreadText(SpreadOf(times[0]), "%.0f", 1000) + " ms",
                "NSIS " + SpreadText(SpreadOf(times[1]), "%.0f", 1000) + " ms, LZMA " +
                    SpreadText(SpreadOf(times[2]), "%.0f", 1000) + " ms",
                SpreadText(ratio, "%.2f") + " x NSIS uncompressed", "<= 1.0", AtMost(ratio, 1.0));
    return 0;
}

int Memory(const std::string& sMedium, const std::string& sPlain, const std::string& sLzma)
{
    BenchFolder target("peermem");
    PROCESS_MEMORY_COUNTERS plain, lzma;
    RunToEnd(SilentInstall(sPlain, target), &plain);
    target.Empty();
    RunToEnd(SilentInstall(sLzma, target), &lzma);
    target.Empty();
    // Ours last, in this process, which has done nothing large before.
    OpenMedium(sMedium, target);
    InstallOnce();
    SIZE_T ours = PeakWorkingSet();
    UndoInstall();
    CloseMedium();
    double dRatio = static_cast<double>(ours) / static_cast<double>(plain.PeakWorkingSetSize);
    PrintResult(
        Format("Peak working set, installation of %.0f MiB", (g_qwPrgSize + g_qwImgSize) / MIB),
        Format("%.1f MiB", ours / MIB),
        Format("NSIS %.1f MiB, LZMA %.1f MiB", plain.PeakWorkingSetSize / MIB,
               lzma.PeakWorkingSetSize / MIB),
        Format("%.2f x NSIS uncompressed", dRatio), "report", true);
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "stage") == 0)
        return Stage(argv[2], argv[3]);
    if (argc == 4 && std::strcmp(argv[1], "start") == 0)
        return Start(argv[2], argv[3]);
    if (argc == 6 && std::strcmp(argv[1], "whole") == 0)
        return Whole(argv[2], argv[3], argv[4], argv[5]);
    if (argc == 5 && std::strcmp(argv[1], "memory") == 0)
        return Memory(argv[2], argv[3], argv[4]);
    Die("usage: bench_peer stage|start|whole|memory ... (see PeerBench.cpp)");
}
