// The whole installation, as the copy engine runs it without a window (plan
// and all images), against a plain CopyFileA of the same files into an empty
// folder.
//
//   bench_install <medium folder>
#include "BenchInstall.h"
#include "BenchSupport.h"
#include "InstallHistory.h"
#include "SetupArchive.h"
#include "SetupState.h"

#include <cstdio>
#include <windows.h>

namespace
{
// Runs of each, alternating (see StartupBench.cpp).
const int RUNS = 15;

// The files one installation puts down, copied once into a plain folder:
// the baseline's source, byte for byte what the engine wrote.
std::vector<std::string> StagePlainFiles(const BenchFolder& plain)
{
    InstallOnce();
    std::vector<std::string> names;
    for (int i = 0; i < g_History.GetCount(); ++i)
    {
        const CHistoryItem& item = *g_History.ItemAt(i);
        if (item.Kind != PRGFILE && item.Kind != IMGFILE)
            continue;
        TxString sName;
        sName.AssignFileName(item.sPath.GetText());
        std::string name = Format("%03d_%s", i, sName.GetText());
        if (!CopyFileA(item.sPath.GetText(), (plain / name).c_str(), FALSE))
            Die("CopyFileA failed for " + std::string(item.sPath.GetText()));
        names.push_back(name);
    }
    UndoInstall();
    return names;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        Die("usage: bench_install <medium folder>");
    BenchFolder target("install"), plain("plain"), copy("copy");
    OpenMedium(argv[1], target);

    std::vector<std::string> names = StagePlainFiles(plain);
    unsigned long long qwBytes = g_qwPrgSize + g_qwImgSize;
    auto prepare = [&]
    {
        UndoInstall();
        copy.Empty();
    };
    auto baseline = [&]
    {
        for (const std::string& name : names)
            if (!CopyFileA((plain / name).c_str(), (copy / name).c_str(), FALSE))
                Die("CopyFileA failed for " + name);
    };
    PairTiming t = TimePair(RUNS, prepare, InstallOnce, baseline);
    CloseMedium();
    RunSpread ratio = RatioSpread(t.candidate, t.baseline);
    PrintResult(Format("Installation (%zu files, %.1f MiB, medians of %d)", names.size(),
                       static_cast<double>(qwBytes) / (1024.0 * 1024.0), RUNS),
                SpreadText(SpreadOf(t.candidate), "%.1f", 1000) + " ms",
                SpreadText(SpreadOf(t.baseline), "%.1f", 1000) + " ms",
                SpreadText(ratio, "%.2f") + " x plain copy", "<= 1.25", AtMost(ratio, 1.25));
    return 0;
}
