// Time from process start to a visible window: Setup.exe until its welcome
// dialog shows, against a program that shows one empty dialog.
//
//   bench_startup <Setup.exe> <empty dialog program>
//
// Setup.exe is started in its own folder, as from the medium.
#include "BenchSupport.h"

namespace
{
const int RUNS = 9;
} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        Die("usage: bench_startup <Setup.exe> <empty dialog program>");
    std::string setup = argv[1], empty = argv[2];
    PairTiming t = MeasurePair(
        RUNS, [&] { return TimeToWindow(setup, "TFormStepWelcome"); },
        [&] { return TimeToWindow(empty, "#32770"); });
    double dRatio = t.dCandidate / t.dBaseline;
    PrintResult("Start-up to welcome dialog", Format("%.0f ms", t.dCandidate * 1000),
                Format("%.0f ms", t.dBaseline * 1000), Format("%.2f x empty dialog", dRatio),
                "<= 1.5", dRatio <= 1.5);
    return 0;
}
