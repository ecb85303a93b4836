// The setup against the installer a product team would pick instead: NSIS 3
// with the Modern UI, built by scripts/bench from the same files.
//
//   bench_peer stage <medium> <folder>
//       installs once and copies what was installed into folder\Program and
//       folder\Images, the payload of the peer installers
//   bench_peer start <Setup.exe> <peer.exe>
//       process start to the first dialog: our welcome step, the peer's
//       welcome page
//   bench_peer install <label> <medium> <peer plain.exe> <peer lzma.exe> <peer empty.exe>
//       our installation (from Start to the last file) against the peer's
//       silent one, whose own start-up (an installer of one empty file) is
//       subtracted
//   bench_peer memory <medium> <peer plain.exe> <peer lzma.exe>
//       peak working set of each during a whole installation
#include "BenchInstall.h"
#include "BenchSupport.h"
#include "InstallHistory.h"
#include "SetupState.h"

#include <cstring>
#include <utility>
#include <vector>
#include <windows.h>

namespace
{
const int PEER_RUNS = 15;
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

// Each run times ours and all three peer installers in a rotating order; the
// peer's own start-up is taken off run by run (the empty installer's time),
// and the medians of those differences are compared.
int Install(const char* pszLabel, const std::string& sMedium, const std::string& sPlain,
            const std::string& sLzma, const std::string& sEmpty)
{
    BenchFolder target("peer");
    OpenMedium(sMedium, target);
    unsigned long long qwBytes = g_qwPrgSize + g_qwImgSize;
    auto peer = [&](const std::string& sInstaller)
    {
        target.Empty();
        return RunToEnd(SilentInstall(sInstaller, target));
    };
    std::vector<double> ours, plain, lzma, empty;
    peer(sPlain);
    for (int i = 0; i < PEER_RUNS; ++i)
    {
        double dTimes[4] = {};
        for (int k = 0; k < 4; ++k)
        {
            switch ((i + k) % 4)
            {
            case 0:
            {
                UndoInstall();
                double dStart = NowSeconds();
                InstallOnce();
                dTimes[0] = NowSeconds() - dStart;
                break;
            }
            case 1:
                dTimes[1] = peer(sPlain);
                break;
            case 2:
                dTimes[2] = peer(sLzma);
                break;
            default:
                dTimes[3] = peer(sEmpty);
                break;
            }
        }
        ours.push_back(dTimes[0]);
        plain.push_back(dTimes[1] - dTimes[3]);
        lzma.push_back(dTimes[2] - dTimes[3]);
        empty.push_back(dTimes[3]);
    }
    UndoInstall();
    CloseMedium();
    double dOurs = Median(ours), dPlain = Median(plain), dLzma = Median(lzma);
    std::string sLabel = Format("Installation against NSIS 3, %s (%.1f MiB)", pszLabel,
                                static_cast<double>(qwBytes) / MIB);
    std::string sBaseline = Format("NSIS %.1f ms, LZMA %.1f ms (its start-up, %.1f ms, taken off)",
                                   dPlain * 1000, dLzma * 1000, Median(empty) * 1000);
    if (dPlain <= 0)
    {
        // Too little work to show above the spread of a process start.
        PrintResult(sLabel, Format("%.1f ms", dOurs * 1000), sBaseline,
                    "below NSIS's start-up spread", "<= 1.0", false);
        return 0;
    }
    double dRatio = dOurs / dPlain;
    PrintResult(sLabel, Format("%.1f ms", dOurs * 1000), sBaseline,
                Format("%.2f x NSIS uncompressed", dRatio), "<= 1.0", dRatio <= 1.0);
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
    if (argc == 7 && std::strcmp(argv[1], "install") == 0)
        return Install(argv[2], argv[3], argv[4], argv[5], argv[6]);
    if (argc == 5 && std::strcmp(argv[1], "memory") == 0)
        return Memory(argv[2], argv[3], argv[4]);
    Die("usage: bench_peer stage|start|install|memory ... (see PeerBench.cpp)");
}
