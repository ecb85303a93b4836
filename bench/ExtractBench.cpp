// Extraction throughput of CSetupDatFile::CopyFile against CopyFileA on the
// same bytes, the time a sealed setup takes to check a 64 MiB archive against
// its seal, and the peak working set of an extraction.
//
//   bench_extract <work folder>                    throughput at four sizes,
//                                                  the seal check
//   bench_extract --memory <work folder> extract   peak working set, CopyFile
//   bench_extract --memory <work folder> copy      the same for CopyFileA
//
// The work folder receives the archive and its plain source files on the
// first call; the memory calls use them in a fresh process each.
#include "ArchiveWriter.h"
#include "BenchSupport.h"
#include "CSetupDatFile.h"
#include "SetupArchive.h"
#include "Sha256.h"

#include <cstring>
#include <memory>
#include <psapi.h>
#include <windows.h>

namespace
{
// Runs of each, alternating (see StartupBench.cpp).
const int RUNS = 15;
const unsigned long long KIB = 1024, MIB = 1024 * KIB;

struct SizeCase
{
    const char* pszName;
    unsigned long long qwSize;
};
const SizeCase SIZES[] = {{"size64k.bin", 64 * KIB},
                          {"size1m.bin", MIB},
                          {"size16m.bin", 16 * MIB},
                          {"size64m.bin", 64 * MIB}};

std::string SourceFolder(const std::string& work)
{
    return work + "\\plain";
}

std::string ArchivePath(const std::string& work)
{
    return work + "\\Setup.dat";
}

// An archive of the 64 MiB file alone, for the seal check.
std::string SealArchivePath(const std::string& work)
{
    return work + "\\Seal64.dat";
}

void MakeInputs(const std::string& work)
{
    CreateDirectoryA(work.c_str(), nullptr);
    CreateDirectoryA(SourceFolder(work).c_str(), nullptr);
    for (const SizeCase& c : SIZES)
        WritePatternFile(SourceFolder(work) + "\\" + c.pszName, c.qwSize);
    WriteArchive(ArchivePath(work), CollectPackInputs({SourceFolder(work)}, ArchivePath(work)));
    WriteArchive(SealArchivePath(work),
                 CollectPackInputs({SourceFolder(work) + "\\size64m.bin"}, SealArchivePath(work)));
}

// Small files are copied several times per sample so that one sample lasts
// long enough for the timer and the file system's noise to even out.
int CopiesPerSample(unsigned long long qwSize)
{
    unsigned long long n = 32 * MIB / qwSize;
    return n < 1 ? 1 : (n > 64 ? 64 : static_cast<int>(n));
}

void MeasureSize(CSetupDatFile& archive, const std::string& work, const SizeCase& c)
{
    BenchFolder target("extract");
    int iCopies = CopiesPerSample(c.qwSize);
    std::string source = SourceFolder(work) + "\\" + c.pszName;
    auto targetName = [&](int i) { return target / Format("t%d.bin", i); };
    auto prepare = [&] { target.Empty(); };
    auto candidate = [&]
    {
        for (int i = 0; i < iCopies; ++i)
            if (!archive.CopyFile(c.pszName, targetName(i).c_str()))
                Die("CSetupDatFile::CopyFile failed");
    };
    auto baseline = [&]
    {
        for (int i = 0; i < iCopies; ++i)
            if (!CopyFileA(source.c_str(), targetName(i).c_str(), FALSE))
                Die("CopyFileA failed");
    };
    PairTiming t = TimePair(RUNS, prepare, candidate, baseline);
    double dBytes = static_cast<double>(c.qwSize) * iCopies / MIB;
    // Throughput run by run: the bytes over each run's time.
    auto rates = [&](const std::vector<double>& times)
    { return RatioSpread(std::vector<double>(times.size(), dBytes), times); };
    RunSpread ratio = RatioSpread(t.baseline, t.candidate);
    PrintResult(Format("Extraction %s (medians of %d)",
                       c.qwSize >= MIB ? Format("%llu MiB", c.qwSize / MIB).c_str()
                                       : Format("%llu KiB", c.qwSize / KIB).c_str(),
                       RUNS),
                SpreadText(rates(t.candidate), "%.0f") + " MiB/s",
                SpreadText(rates(t.baseline), "%.0f") + " MiB/s",
                SpreadText(ratio, "%.2f") + " x CopyFileA", ">= 0.95", AtLeast(ratio, 0.95));
}

// The seal check against a plain read of the same file in the same blocks:
// what the hashing adds to reading the archive once.
void MeasureSealCheck(const std::string& work)
{
    std::string sArchive = SealArchivePath(work);
    std::unique_ptr<BYTE[]> buffer(new BYTE[256 * 1024]);
    auto readAll = [&](CSha256* pSha)
    {
        HANDLE hFile = CreateFileA(sArchive.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
        if (hFile == INVALID_HANDLE_VALUE)
            Die("cannot open " + sArchive);
        DWORD dwRead = 0;
        while (ReadFile(hFile, buffer.get(), 256 * 1024, &dwRead, nullptr) && dwRead > 0)
            if (pSha != nullptr)
                pSha->Update(buffer.get(), dwRead);
        CloseHandle(hFile);
    };
    CSha256 sha;
    readAll(&sha);
    unsigned char seal[SHA256_DIGEST_SIZE];
    sha.Finish(seal);
    auto candidate = [&]
    {
        if (!ArchiveMatchesSeal(sArchive.c_str(), seal))
            Die("the seal check failed");
    };
    PairTiming t = TimePair(
        RUNS, [] {}, candidate, [&] { readAll(nullptr); });
    double dMiB = static_cast<double>(SIZES[3].qwSize) / MIB;
    PrintResult(Format("Seal check, 64 MiB archive (medians of %d)", RUNS),
                SpreadText(SpreadOf(t.candidate), "%.0f", 1000) + " ms",
                "plain read " + SpreadText(SpreadOf(t.baseline), "%.0f", 1000) + " ms",
                Format("%.0f MiB/s", dMiB / t.dCandidate), "report", "yes");
}

int Throughput(const std::string& work)
{
    MakeInputs(work);
    CSetupDatFile archive;
    if (!archive.OpenDatFile(ArchivePath(work).c_str()))
        Die("OpenDatFile failed");
    for (const SizeCase& c : SIZES)
        MeasureSize(archive, work, c);
    MeasureSealCheck(work);
    return 0;
}

// One extraction of the largest entry in a fresh process; prints the peak
// working set before and after as "MEMORY|mode|before|after|entry".
int Memory(const std::string& work, const char* pszMode)
{
    const SizeCase& c = SIZES[3];
    BenchFolder target("memory");
    std::string sTarget = target / c.pszName;
    bool bExtract = std::strcmp(pszMode, "extract") == 0;
    CSetupDatFile archive;
    if (bExtract && !archive.OpenDatFile(ArchivePath(work).c_str()))
        Die("OpenDatFile failed");
    SIZE_T before = PeakWorkingSet();
    bool bOk = bExtract ? archive.CopyFile(c.pszName, sTarget.c_str())
                        : CopyFileA((SourceFolder(work) + "\\" + c.pszName).c_str(),
                                    sTarget.c_str(), FALSE) != FALSE;
    if (!bOk)
        Die("copy failed");
    SIZE_T after = PeakWorkingSet();
    std::printf("MEMORY|%s|%llu|%llu|%llu\n", pszMode, static_cast<unsigned long long>(before),
                static_cast<unsigned long long>(after), c.qwSize);
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc == 2)
        return Throughput(argv[1]);
    if (argc == 4 && std::strcmp(argv[1], "--memory") == 0)
        return Memory(argv[2], argv[3]);
    Die("usage: bench_extract <work folder> | --memory <work folder> extract|copy");
}
