#pragma once

#include "TxHandles.h"

#include <string>
#include <vector>

// A process the driver started. It is ended with TerminateProcess when the
// object goes and it still runs, so that a failed test never leaves a
// setup behind.
class ChildProcess
{
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts sApplication (command line empty, or sCommandLine) in
    // sCurrentFolder (the driver's own when empty). False on failure.
    bool Start(const std::string& sApplication, const std::string& sCommandLine,
               const std::string& sCurrentFolder);
    bool IsRunning() const;
    // Waits, pumping the driver's messages, until the process has ended.
    bool WaitForExit(DWORD dwTimeout) const;
    // Exit code once ended; STILL_ACTIVE while running.
    DWORD ExitCode() const;
    DWORD Id() const { return m_dwId; }
    HANDLE Thread() const { return m_hThread.Get(); }
    void Kill();

private:
    TxKernelHandle m_hProcess;
    TxKernelHandle m_hThread;
    DWORD m_dwId = 0;
};

// Runs a console tool to its end; its exit code, or -1 when it could not be
// started or did not end in time (then it is killed).
int RunTool(const std::string& sApplication, const std::string& sCommandLine, DWORD dwTimeout);

// Ids of the running processes whose main image has the given full path.
std::vector<DWORD> ProcessesOf(const std::string& sImagePath);
// The current folder of another process, read from its process parameters;
// empty when it cannot be read.
std::string ProcessCurrentFolder(DWORD dwProcessId);
// The command line another process was started with; empty when unreadable.
std::string ProcessCommandLine(DWORD dwProcessId);

// Ends every process whose main image has the given full path (the manager
// started by the setup); returns how many were ended.
int KillProcessesOf(const std::string& sImagePath);
