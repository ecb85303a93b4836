// Time from process start to a visible window: Setup.exe until its welcome
// dialog shows, against a program that shows one empty dialog.
//
//   bench_startup <Setup.exe> <empty dialog program>
//
// Setup.exe is started in its own folder, as from the medium.
#include "BenchSupport.h"
#include "TxHandles.h"

#include <cstring>
#include <windows.h>

namespace
{
const int RUNS = 9;
const double TIMEOUT_SECONDS = 30;

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

// Starts the program and polls until a visible window of the class appears;
// the seconds that took. The program is ended afterwards.
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
        if (dElapsed > TIMEOUT_SECONDS || WaitForSingleObject(hProcess.Get(), 0) == WAIT_OBJECT_0)
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
