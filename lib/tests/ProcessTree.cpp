#include "ProcessTree.h"

#include "MessagePump.h"

#include <tlhelp32.h>
#include <winternl.h>

ProcessTree::~ProcessTree()
{
    if (m_hJob.IsValid())
        TerminateJobObject(m_hJob.Get(), 1);
}

bool ProcessTree::Start(const std::string& sCommandLine, const std::string& sCurrentFolder)
{
    Kill();
    m_hProcess.Reset();
    m_Processes.clear();
    m_dwId = 0;
    m_dwLastExitCode = STILL_ACTIVE;
    m_bAllEnded = false;
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
    m_hProcess.Reset(process.hProcess);
    TxKernelHandle hThread(process.hThread);
    if (!AssignProcessToJobObject(m_hJob.Get(), m_hProcess.Get()))
    {
        m_dwStartError = GetLastError();
        TerminateProcess(m_hProcess.Get(), 1);
        m_hProcess.Reset();
        return false;
    }
    m_dwId = process.dwProcessId;
    ResumeThread(hThread.Get());
    return true;
}

bool ProcessTree::IsRunning() const
{
    return m_hProcess.IsValid() && WaitForSingleObject(m_hProcess.Get(), 0) == WAIT_TIMEOUT;
}

bool ProcessTree::WaitForExit(DWORD dwTimeout) const
{
    return WaitUntil([this] { return !IsRunning(); }, dwTimeout);
}

DWORD ProcessTree::ExitCode() const
{
    DWORD dwCode = STILL_ACTIVE;
    if (m_hProcess.IsValid())
        GetExitCodeProcess(m_hProcess.Get(), &dwCode);
    return dwCode;
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

void ProcessTree::Kill()
{
    if (!m_hJob.IsValid())
        return;
    TerminateJobObject(m_hJob.Get(), 1);
    if (m_hProcess.IsValid())
        WaitForSingleObject(m_hProcess.Get(), 5000);
}

std::string CommandLine(const std::string& sProgram, const std::string& sArguments)
{
    return "\"" + sProgram + "\"" + (sArguments.empty() ? "" : " " + sArguments);
}

int RunTool(const std::string& sCommandLine, DWORD dwTimeout)
{
    ProcessTree tool;
    if (!tool.Start(sCommandLine) || !tool.WaitForExit(dwTimeout))
        return -1;
    return static_cast<int>(tool.ExitCode());
}

namespace
{
std::string ImagePath(DWORD dwProcessId)
{
    TxKernelHandle hProcess(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, dwProcessId));
    if (!hProcess.IsValid())
        return std::string();
    char szPath[MAX_PATH] = "";
    DWORD dwSize = MAX_PATH;
    if (!QueryFullProcessImageNameA(hProcess.Get(), 0, szPath, &dwSize))
        return std::string();
    return std::string(szPath, dwSize);
}

// The head of the system's process parameters, up to the command line.
struct ProcessParametersHead
{
    ULONG MaximumLength;
    ULONG Length;
    ULONG Flags;
    ULONG DebugFlags;
    HANDLE ConsoleHandle;
    ULONG ConsoleFlags;
    HANDLE StandardInput;
    HANDLE StandardOutput;
    HANDLE StandardError;
    UNICODE_STRING CurrentDirectoryPath;
    HANDLE CurrentDirectoryHandle;
    UNICODE_STRING DllPath;
    UNICODE_STRING ImagePathName;
    UNICODE_STRING CommandLine;
};

bool ReadRemote(HANDLE hProcess, const void* pAddress, void* pBuffer, SIZE_T cbSize)
{
    SIZE_T cbRead = 0;
    return ReadProcessMemory(hProcess, pAddress, pBuffer, cbSize, &cbRead) && cbRead == cbSize;
}

// One text of another process's parameters; empty when it cannot be read.
std::string ProcessParameter(DWORD dwProcessId, UNICODE_STRING ProcessParametersHead::*pText)
{
    TxKernelHandle hProcess(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, dwProcessId));
    if (!hProcess.IsValid())
        return std::string();
    PROCESS_BASIC_INFORMATION basic = {};
    ULONG cbReturned = 0;
    if (NtQueryInformationProcess(hProcess.Get(), ProcessBasicInformation, &basic, sizeof(basic),
                                  &cbReturned) != 0)
        return std::string();
    PEB peb = {};
    ProcessParametersHead params = {};
    if (!ReadRemote(hProcess.Get(), basic.PebBaseAddress, &peb, sizeof(peb)) ||
        !ReadRemote(hProcess.Get(), peb.ProcessParameters, &params, sizeof(params)))
        return std::string();
    const UNICODE_STRING& text = params.*pText;
    std::wstring sText(text.Length / sizeof(wchar_t), L'\0');
    if (!sText.empty() && !ReadRemote(hProcess.Get(), text.Buffer, &sText[0], text.Length))
        return std::string();
    char szText[MAX_PATH * 2] = "";
    WideCharToMultiByte(CP_ACP, 0, sText.c_str(), -1, szText, sizeof(szText), nullptr, nullptr);
    return szText;
}
} // namespace

std::vector<DWORD> ProcessesOf(const std::string& sImagePath)
{
    std::vector<DWORD> ids;
    TxFileHandle hSnapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!hSnapshot.IsValid())
        return ids;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL bMore = Process32First(hSnapshot.Get(), &entry); bMore;
         bMore = Process32Next(hSnapshot.Get(), &entry))
    {
        if (lstrcmpiA(ImagePath(entry.th32ProcessID).c_str(), sImagePath.c_str()) == 0)
            ids.push_back(entry.th32ProcessID);
    }
    return ids;
}

std::string ProcessCurrentFolder(DWORD dwProcessId)
{
    return ProcessParameter(dwProcessId, &ProcessParametersHead::CurrentDirectoryPath);
}

std::string ProcessCommandLine(DWORD dwProcessId)
{
    return ProcessParameter(dwProcessId, &ProcessParametersHead::CommandLine);
}

int KillProcessesOf(const std::string& sImagePath)
{
    int iKilled = 0;
    for (DWORD dwId : ProcessesOf(sImagePath))
    {
        TxKernelHandle hProcess(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, dwId));
        if (hProcess.IsValid() && TerminateProcess(hProcess.Get(), 1))
        {
            WaitForSingleObject(hProcess.Get(), 5000);
            ++iKilled;
        }
    }
    return iKilled;
}
