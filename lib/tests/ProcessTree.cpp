#include "ProcessTree.h"

namespace
{
void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
} // namespace

ProcessTree::~ProcessTree()
{
    if (m_hJob.IsValid() && !m_bAllEnded)
        TerminateJobObject(m_hJob.Get(), 1);
}

bool ProcessTree::Start(const std::string& sCommandLine, const std::string& sCurrentFolder)
{
    // Wine starts its desktop process from the first process that asks for
    // the desktop; started from inside the job it would keep the job alive.
    GetDesktopWindow();
    m_hJob.Reset(CreateJobObjectA(nullptr, nullptr));
    m_hPort.Reset(CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1));
    JOBOBJECT_ASSOCIATE_COMPLETION_PORT link = {};
    link.CompletionPort = m_hPort.Get();
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!m_hJob.IsValid() || !m_hPort.IsValid() ||
        !SetInformationJobObject(m_hJob.Get(), JobObjectAssociateCompletionPortInformation, &link,
                                 sizeof(link)) ||
        !SetInformationJobObject(m_hJob.Get(), JobObjectExtendedLimitInformation, &limits,
                                 sizeof(limits)))
    {
        m_dwStartError = GetLastError();
        return false;
    }
    std::vector<char> line(sCommandLine.begin(), sCommandLine.end());
    line.push_back(0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    // Suspended until it is in the job, so that nothing it starts escapes.
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        sCurrentFolder.empty() ? nullptr : sCurrentFolder.c_str(), &startup,
                        &process))
    {
        m_dwStartError = GetLastError();
        return false;
    }
    TxKernelHandle hProcess(process.hProcess);
    TxKernelHandle hThread(process.hThread);
    if (!AssignProcessToJobObject(m_hJob.Get(), hProcess.Get()))
    {
        m_dwStartError = GetLastError();
        TerminateProcess(hProcess.Get(), 1);
        return false;
    }
    ResumeThread(hThread.Get());
    return true;
}

void ProcessTree::TakeMessage(DWORD dwMessage, DWORD dwProcessId)
{
    if (dwMessage == JOB_OBJECT_MSG_NEW_PROCESS)
    {
        // Opened at once: its exit code must be readable after it ended.
        m_Processes.emplace_back(
            dwProcessId, TxKernelHandle(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE,
                                                    FALSE, dwProcessId)));
    }
    else if (dwMessage == JOB_OBJECT_MSG_EXIT_PROCESS ||
             dwMessage == JOB_OBJECT_MSG_ABNORMAL_EXIT_PROCESS)
    {
        for (const auto& process : m_Processes)
            if (process.first == dwProcessId && process.second.IsValid())
                GetExitCodeProcess(process.second.Get(), &m_dwLastExitCode);
    }
    else if (dwMessage == JOB_OBJECT_MSG_ACTIVE_PROCESS_ZERO)
    {
        m_bAllEnded = true;
    }
}

bool ProcessTree::WaitForAll(DWORD dwTimeout)
{
    DWORD dwStart = GetTickCount();
    while (!m_bAllEnded && m_hPort.IsValid())
    {
        PumpMessages();
        DWORD dwMessage = 0;
        ULONG_PTR uKey = 0;
        LPOVERLAPPED pData = nullptr;
        if (GetQueuedCompletionStatus(m_hPort.Get(), &dwMessage, &uKey, &pData, 50))
            TakeMessage(dwMessage, static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(pData)));
        else if (GetTickCount() - dwStart > dwTimeout)
            return false;
    }
    return m_bAllEnded;
}

bool ProcessTree::Owns(HWND hWnd) const
{
    DWORD dwProcessId = 0;
    GetWindowThreadProcessId(hWnd, &dwProcessId);
    // Wine asks for the full query right here.
    TxKernelHandle hProcess(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, dwProcessId));
    BOOL bInJob = FALSE;
    return hProcess.IsValid() && IsProcessInJob(hProcess.Get(), m_hJob.Get(), &bInJob) && bInJob;
}
