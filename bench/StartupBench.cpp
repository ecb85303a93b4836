// Time from process start to a visible window: Setup.exe until its welcome
// dialog shows, against a program that shows one empty dialog.
//
//   bench_startup <Setup.exe> <empty dialog program>
//
// Setup.exe is started in its own folder, as from the medium.
#include "BenchSupport.h"

namespace
{
// Runs of each, alternating: with fewer the medians of three bench runs in a
// row on a busy machine lay more than 15 % apart.
const int RUNS = 21;
} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        Die("usage: bench_startup <Setup.exe> <empty dialog program>");
    std::string setup = argv[1], empty = argv[2];
    PairTiming t = MeasurePair(
        RUNS, [&] { return TimeToWindow(setup, "TFormStepWelcome"); },
        [&] { return TimeToWindow(empty, "#32770"); });
    RunSpread ratio = RatioSpread(t.candidate, t.baseline);
    PrintResult(Format("Start-up to welcome dialog (medians of %d)", RUNS),
                SpreadText(SpreadOf(t.candidate), "%.0f", 1000) + " ms",
                SpreadText(SpreadOf(t.baseline), "%.0f", 1000) + " ms",
                SpreadText(ratio, "%.2f") + " x empty dialog", "<= 1.5", AtMost(ratio, 1.5));
    return 0;
}
