#include "BenchSupport.h"

#include "TxHandles.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <windows.h>
#include <psapi.h>

double NowSeconds()
{
    static LARGE_INTEGER s_Frequency = []
    {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(s_Frequency.QuadPart);
}

double Median(std::vector<double> samples)
{
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end());
    size_t n = samples.size();
    return n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
}

RunSpread SpreadOf(std::vector<double> samples)
{
    if (samples.empty())
        return {0, 0, 0};
    auto range = std::minmax_element(samples.begin(), samples.end());
    return {Median(samples), *range.first, *range.second};
}

RunSpread RatioSpread(const std::vector<double>& a, const std::vector<double>& b)
{
    std::vector<double> ratios;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        ratios.push_back(a[i] / b[i]);
    return SpreadOf(ratios);
}

std::string SpreadText(const RunSpread& spread, const char* pszFormat, double dScale)
{
    std::string format = std::string(pszFormat) + " (" + pszFormat + "-" + pszFormat + ")";
    return Format(format.c_str(), spread.dMedian * dScale, spread.dMin * dScale,
                  spread.dMax * dScale);
}

const char* AtMost(const RunSpread& spread, double dGoal)
{
    return spread.dMax <= dGoal ? "yes" : spread.dMin > dGoal ? "NO" : "undecided";
}

const char* AtLeast(const RunSpread& spread, double dGoal)
{
    return spread.dMin >= dGoal ? "yes" : spread.dMax < dGoal ? "NO" : "undecided";
}

PairTiming MeasurePair(int iRuns, const std::function<double()>& candidate,
                       const std::function<double()>& baseline)
{
    candidate();
    baseline();
    std::vector<double> cand, base;
    for (int i = 0; i < iRuns; ++i)
    {
        bool bCandidateFirst = i % 2 == 0;
        if (bCandidateFirst)
            cand.push_back(candidate());
        base.push_back(baseline());
        if (!bCandidateFirst)
            cand.push_back(candidate());
    }
    return {Median(cand), Median(base), cand, base};
}

PairTiming TimePair(int iRuns, const std::function<void()>& prepare,
                    const std::function<void()>& candidate, const std::function<void()>& baseline)
{
    auto timed = [&](const std::function<void()>& run)
    {
        return [&]
        {
            prepare();
            double dStart = NowSeconds();
            run();
            return NowSeconds() - dStart;
        };
    };
    PairTiming t = MeasurePair(iRuns, timed(candidate), timed(baseline));
    prepare();
    return t;
}

BenchFolder::BenchFolder(const char* pszTag)
{
    char szTemp[MAX_PATH];
    DWORD n = GetTempPathA(MAX_PATH, szTemp);
    if (n == 0 || n >= MAX_PATH)
        Die("GetTempPathA failed");
    m_sPath = Format("%sqvbench_%s_%lu", szTemp, pszTag, GetCurrentProcessId());
    DeleteTree(m_sPath);
    if (!CreateDirectoryA(m_sPath.c_str(), nullptr))
        Die("CreateDirectoryA failed: " + m_sPath);
}

BenchFolder::~BenchFolder()
{
    DeleteTree(m_sPath);
}

void BenchFolder::Empty() const
{
    DeleteTree(m_sPath);
    if (!CreateDirectoryA(m_sPath.c_str(), nullptr))
        Die("CreateDirectoryA failed: " + m_sPath);
}

void DeleteTree(const std::string& path)
{
    WIN32_FIND_DATAA data;
    TxFindHandle hFind(FindFirstFileA((path + "\\*").c_str(), &data));
    if (hFind.IsValid())
    {
        do
        {
            std::string name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string full = path + "\\" + name;
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteTree(full);
            else
                DeleteFileA(full.c_str());
        } while (FindNextFileA(hFind.Get(), &data));
    }
    RemoveDirectoryA(path.c_str());
}

void WritePatternFile(const std::string& path, unsigned long long qwSize)
{
    TxFileHandle hFile(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!hFile.IsValid())
        Die("CreateFileA failed: " + path);
    std::vector<unsigned> block(256 * 1024);
    unsigned uState = 12345;
    while (qwSize > 0)
    {
        for (unsigned& u : block)
            u = uState = uState * 1664525u + 1013904223u;
        DWORD dwChunk = static_cast<DWORD>(
            std::min<unsigned long long>(qwSize, block.size() * sizeof(unsigned)));
        DWORD dwWritten = 0;
        if (!WriteFile(hFile.Get(), block.data(), dwChunk, &dwWritten, nullptr) ||
            dwWritten != dwChunk)
            Die("WriteFile failed: " + path);
        qwSize -= dwChunk;
    }
}

void Die(const std::string& message)
{
    std::fprintf(stderr, "bench: error: %s (last error %lu)\n", message.c_str(), GetLastError());
    std::fflush(stderr);
    std::exit(2);
}

void PrintResult(const std::string& sMeasure, const std::string& sCandidate,
                 const std::string& sBaseline, const std::string& sFigure, const std::string& sGoal,
                 const char* pszMet)
{
    std::printf("RESULT|%s|%s|%s|%s|%s|%s\n", sMeasure.c_str(), sCandidate.c_str(),
                sBaseline.c_str(), sFigure.c_str(), sGoal.c_str(), pszMet);
    std::fflush(stdout);
}

void PrintResult(const std::string& sMeasure, const std::string& sCandidate,
                 const std::string& sBaseline, const std::string& sFigure, const std::string& sGoal,
                 bool bMet)
{
    PrintResult(sMeasure, sCandidate, sBaseline, sFigure, sGoal, bMet ? "yes" : "NO");
}

std::string Format(const char* pszFormat, ...)
{
    char szText[1024];
    va_list args;
    va_start(args, pszFormat);
    std::vsnprintf(szText, sizeof(szText), pszFormat, args);
    va_end(args);
    return szText;
}

namespace
{
const double WINDOW_TIMEOUT_SECONDS = 30;

struct WindowSearch
{
    DWORD dwProcessId;
    const char* pszClass;
    bool bFound;
};

BOOL CALLBACK MatchWindow(HWND hWnd, LPARAM lParam)
{
    WindowSearch& search = *reinterpret_cast<WindowSearch*>(lParam);
    DWORD dwProcessId = 0;
    GetWindowThreadProcessId(hWnd, &dwProcessId);
    char szClass[64];
    if (dwProcessId != search.dwProcessId || !IsWindowVisible(hWnd) ||
        GetClassNameA(hWnd, szClass, sizeof(szClass)) == 0 ||
        std::strcmp(szClass, search.pszClass) != 0)
        return TRUE;
    search.bFound = true;
    return FALSE;
}

std::string FolderOf(const std::string& path)
{
    size_t pos = path.find_last_of("\\/");
    return pos == std::string::npos ? std::string(".") : path.substr(0, pos);
}

} // namespace

double TimeToWindow(const std::string& program, const char* pszClass)
{
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::string folder = FolderOf(program);
    double dStart = NowSeconds();
    if (!CreateProcessA(program.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &si, &pi))
        Die("CreateProcessA failed: " + program);
    TxKernelHandle hProcess(pi.hProcess), hThread(pi.hThread);
    WindowSearch search = {pi.dwProcessId, pszClass, false};
    double dElapsed = 0;
    while (!search.bFound)
    {
        dElapsed = NowSeconds() - dStart;
        if (dElapsed > WINDOW_TIMEOUT_SECONDS ||
            WaitForSingleObject(hProcess.Get(), 0) == WAIT_OBJECT_0)
        {
            TerminateProcess(hProcess.Get(), 1);
            Die(std::string("no visible window of class ") + pszClass + " from " + program);
        }
        Sleep(1);
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    }
    dElapsed = NowSeconds() - dStart;
    if (!TerminateProcess(hProcess.Get(), 0))
        Die("TerminateProcess failed");
    WaitForSingleObject(hProcess.Get(), 10000);
    return dElapsed;
}

SIZE_T PeakWorkingSet()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters)))
        Die("GetProcessMemoryInfo failed");
    return counters.PeakWorkingSetSize;
}

double RunToEnd(const std::string& commandLine, PROCESS_MEMORY_COUNTERS* pMemory)
{
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back(0);
    double dStart = NowSeconds();
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        Die("CreateProcessA failed: " + commandLine);
    TxKernelHandle hProcess(pi.hProcess), hThread(pi.hThread);
    // Wine keeps no figures of an ended process: the peak is sampled while
    // it runs, which costs the timing a little, so only when asked for.
    if (pMemory != nullptr)
    {
        *pMemory = {};
        pMemory->cb = sizeof(*pMemory);
    }
    DWORD dwWait = WAIT_TIMEOUT;
    for (double dWaited = 0; dwWait == WAIT_TIMEOUT && dWaited < 120;
         dWaited = NowSeconds() - dStart)
    {
        dwWait = WaitForSingleObject(hProcess.Get(), pMemory != nullptr ? 1 : 1000);
        PROCESS_MEMORY_COUNTERS now = {};
        now.cb = sizeof(now);
        if (pMemory != nullptr && GetProcessMemoryInfo(hProcess.Get(), &now, sizeof(now)) &&
            now.PeakWorkingSetSize > pMemory->PeakWorkingSetSize)
            *pMemory = now;
    }
    if (dwWait != WAIT_OBJECT_0)
    {
        TerminateProcess(hProcess.Get(), 1);
        Die("did not end: " + commandLine);
    }
    double dElapsed = NowSeconds() - dStart;
    DWORD dwCode = 1;
    if (!GetExitCodeProcess(hProcess.Get(), &dwCode) || dwCode != 0)
        Die(Format("exit code %lu: %s", dwCode, commandLine.c_str()));
    if (pMemory != nullptr && pMemory->PeakWorkingSetSize == 0)
        Die("no memory figures for " + commandLine);
    return dElapsed;
}
