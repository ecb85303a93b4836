#pragma once

#include "TxHandles.h"

#include <string>
#include <vector>
#include <windows.h>

// A program a test starts, inside a job of its own, so that the test can wait
// for that process alone or for every process it starts in turn (an
// uninstaller that hands its work to a copy of itself). Whatever of the tree
// still runs when the object goes, or when the test process ends, is ended,
// so that a failed test leaves nothing running.
class ProcessTree
{
public:
    ProcessTree() = default;
    ~ProcessTree();
    ProcessTree(const ProcessTree&) = delete;
    ProcessTree& operator=(const ProcessTree&) = delete;

    // sCommandLine is the whole line, program included (CommandLine makes
    // one); sCurrentFolder empty for the test's own. Ends a tree started
    // before. False, with the error kept, when it did not start.
    bool Start(const std::string& sCommandLine, const std::string& sCurrentFolder = "");
    DWORD StartError() const { return m_dwStartError; }

    // The process Start made.
    DWORD Id() const { return m_dwId; }
    bool IsRunning() const;
    // Waits, handing this thread's messages on, until it has ended.
    bool WaitForExit(DWORD dwTimeout) const;
    // Its exit code; STILL_ACTIVE while it runs.
    DWORD ExitCode() const;

    // Waits, handing this thread's messages on, until no process of the tree
    // runs any more; false on time-out.
    bool WaitForAll(DWORD dwTimeout);
    // The exit code of the process that ended last (the one that finished
    // the work), as WaitForAll saw it; STILL_ACTIVE while any runs.
    DWORD LastExitCode() const { return m_dwLastExitCode; }
    // How many processes WaitForAll has seen in the tree.
    size_t ProcessCount() const { return m_Processes.size(); }
    // Whether the window belongs to a process of the tree.
    bool Owns(HWND hWnd) const;

    // Ends every process of the tree and waits a little for the first.
    void Kill();

private:
    void TakeMessage(DWORD dwMessage, DWORD dwProcessId);

    TxKernelHandle m_hJob;
    TxKernelHandle m_hPort;
    TxKernelHandle m_hProcess;
    DWORD m_dwId = 0;
    std::vector<std::pair<DWORD, TxKernelHandle>> m_Processes;
    DWORD m_dwLastExitCode = STILL_ACTIVE;
    DWORD m_dwStartError = 0;
    bool m_bAllEnded = false;
};

// "\"sProgram\" sArguments", the arguments left out when empty.
std::string CommandLine(const std::string& sProgram, const std::string& sArguments = "");

// Runs a console tool to its end; its exit code, or -1 when it could not be
// started or did not end in time (then it is ended).
int RunTool(const std::string& sCommandLine, DWORD dwTimeout);

// Ids of the running processes whose main image has the given full path.
std::vector<DWORD> ProcessesOf(const std::string& sImagePath);
// The current folder of another process, read from its process parameters;
// empty when it cannot be read.
std::string ProcessCurrentFolder(DWORD dwProcessId);
// The command line another process was started with; empty when unreadable.
std::string ProcessCommandLine(DWORD dwProcessId);
// Ends every process whose main image has the given full path (a manager
// started by the setup); returns how many were ended.
int KillProcessesOf(const std::string& sImagePath);
