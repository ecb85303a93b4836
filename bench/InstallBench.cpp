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
const int RUNS = 7;

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
    double dRatio = t.dCandidate / t.dBaseline;
    PrintResult(Format("Installation (%zu files, %.1f MiB)", names.size(),
                       static_cast<double>(qwBytes) / (1024.0 * 1024.0)),
                Format("%.1f ms", t.dCandidate * 1000), Format("%.1f ms", t.dBaseline * 1000),
                Format("%.2f x plain copy", dRatio), "<= 1.25", dRatio <= 1.25);
    return 0;
}
