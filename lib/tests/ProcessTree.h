#pragma once

#include "TxHandles.h"

#include <string>
#include <vector>
#include <windows.h>

// A program started inside a job of its own, so that a test can wait for it
// and every process it starts in turn (an uninstaller that hands its work to
// a copy of itself). Whatever still runs when the object goes, or when the
// test process ends, is ended.
class ProcessTree
{
public:
    ProcessTree() = default;
    ~ProcessTree();
    ProcessTree(const ProcessTree&) = delete;
    ProcessTree& operator=(const ProcessTree&) = delete;

    // sCommandLine is the whole line, program included; sCurrentFolder empty
    // for the test's own. False, with the error kept, when it did not start.
    bool Start(const std::string& sCommandLine, const std::string& sCurrentFolder);
    // Waits, handing this thread's window messages on, until no process of
    // the tree runs any more; false on time-out.
    bool WaitForAll(DWORD dwTimeout);
    // The exit code of the process that ended last (the one that finished the
    // work); STILL_ACTIVE while any runs.
    DWORD LastExitCode() const { return m_dwLastExitCode; }
    // How many processes the tree has had so far.
    size_t ProcessCount() const { return m_Processes.size(); }
    DWORD StartError() const { return m_dwStartError; }
    // Whether the window belongs to a process of the tree.
    bool Owns(HWND hWnd) const;

private:
    void TakeMessage(DWORD dwMessage, DWORD dwProcessId);

    TxKernelHandle m_hJob;
    TxKernelHandle m_hPort;
    std::vector<std::pair<DWORD, TxKernelHandle>> m_Processes;
    DWORD m_dwLastExitCode = STILL_ACTIVE;
    DWORD m_dwStartError = 0;
    bool m_bAllEnded = false;
};
