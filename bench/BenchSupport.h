#pragma once

#include <functional>
#include <string>
#include <vector>
#include <windows.h>
#include <psapi.h>

// Shared pieces of the benchmark programs: timing, medians, scratch folders
// and the result lines that scripts/bench turns into one table.

// Seconds since an arbitrary start, from the performance counter.
double NowSeconds();

// Median of the samples (mean of the middle two for an even count); 0 when empty.
double Median(std::vector<double> samples);

// A timing row's runs: their median and their range. On a shared machine
// single runs swing by a factor of two, so a row shows the range with the
// median and decides its goal only when the whole range agrees.
struct RunSpread
{
    double dMedian;
    double dMin;
    double dMax;
};
// All zero when empty.
RunSpread SpreadOf(std::vector<double> samples);
// Run by run a[i] / b[i] (the pairs ran back to back); as many as the shorter has.
RunSpread RatioSpread(const std::vector<double>& a, const std::vector<double>& b);
// "1.42 (1.31-1.55)": each figure times dScale in pszFormat.
std::string SpreadText(const RunSpread& spread, const char* pszFormat, double dScale = 1);
// The verdict column: "yes" when every run meets the goal, "NO" when none
// does, "undecided" when the range crosses it.
const char* AtMost(const RunSpread& spread, double dGoal);
const char* AtLeast(const RunSpread& spread, double dGoal);

// Times candidate and baseline iRuns times each, after one untimed warm-up of
// each (warm disk cache for both sides). The order alternates from run to run
// so that neither side always finds the other's freshly written data. prepare
// runs before every call, untimed (it removes the previous run's targets).
struct PairTiming
{
    double dCandidate;             // median seconds
    double dBaseline;              // median seconds
    std::vector<double> candidate; // seconds, run by run
    std::vector<double> baseline;
};
PairTiming TimePair(int iRuns, const std::function<void()>& prepare,
                    const std::function<void()>& candidate, const std::function<void()>& baseline);
// The same for measurements that time themselves and return seconds.
PairTiming MeasurePair(int iRuns, const std::function<double()>& candidate,
                       const std::function<double()>& baseline);

// A fresh, empty folder under the temporary folder; removed with its content
// when the object goes.
class BenchFolder
{
public:
    explicit BenchFolder(const char* pszTag);
    ~BenchFolder();
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    const std::string& Path() const { return m_sPath; }
    std::string operator/(const std::string& name) const { return m_sPath + "\\" + name; }
    // Removes everything inside, keeping the folder itself.
    void Empty() const;

private:
    std::string m_sPath;
};

// Deletes a folder tree; missing folders are fine.
void DeleteTree(const std::string& path);
// Writes dwSize pseudo-random bytes (fixed seed) to a new file.
void WritePatternFile(const std::string& path, unsigned long long qwSize);
// Ends the program with a message on stderr.
[[noreturn]] void Die(const std::string& message);

// One line of the result table: "RESULT|measure|candidate|baseline|figure|goal|met".
void PrintResult(const std::string& sMeasure, const std::string& sCandidate,
                 const std::string& sBaseline, const std::string& sFigure, const std::string& sGoal,
                 const char* pszMet);
// The same with "yes" or "NO" (measures without a spread).
void PrintResult(const std::string& sMeasure, const std::string& sCandidate,
                 const std::string& sBaseline, const std::string& sFigure, const std::string& sGoal,
                 bool bMet);
std::string Format(const char* pszFormat, ...);

// Starts the program in its own folder and polls until a visible top-level
// window of the class appears; the seconds that took. The program is ended
// afterwards.
double TimeToWindow(const std::string& program, const char* pszClass);
// This process's peak working set so far.
SIZE_T PeakWorkingSet();
// Runs the command line to its end (it must exit with 0); the seconds that
// took, and the process's memory figures when pMemory is given.
double RunToEnd(const std::string& commandLine, PROCESS_MEMORY_COUNTERS* pMemory = nullptr);
