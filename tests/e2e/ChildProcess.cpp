#include "ChildProcess.h"

#include "MessagePump.h"

#include <tlhelp32.h>
#include <winternl.h>
#include <vector>

ChildProcess::~ChildProcess()
{
    Kill();
}

bool ChildProcess::Start(const std::string& sApplication, const std::string& sCommandLine,
                         const std::string& sCurrentFolder)
{
    Kill();
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::vector<char> commandLine(sCommandLine.begin(), sCommandLine.end());
    commandLine.push_back(0);
    if (!CreateProcessA(sApplication.c_str(), sCommandLine.empty() ? nullptr : commandLine.data(),
                        nullptr, nullptr, FALSE, 0, nullptr,
                        sCurrentFolder.empty() ? nullptr : sCurrentFolder.c_str(), &startup,
                        &process))
        return false;
    m_hProcess.Reset(process.hProcess);
    m_hThread.Reset(process.hThread);
    m_dwId = process.dwProcessId;
    return true;
}

bool ChildProcess::IsRunning() const
{
    return m_hProcess.IsValid() && WaitForSingleObject(m_hProcess.Get(), 0) == WAIT_TIMEOUT;
}

bool ChildProcess::WaitForExit(DWORD dwTimeout) const
{
    return WaitUntil([this] { return !IsRunning(); }, dwTimeout);
}

DWORD ChildProcess::ExitCode() const
{
    DWORD dwCode = STILL_ACTIVE;
    if (m_hProcess.IsValid())
        GetExitCodeProcess(m_hProcess.Get(), &dwCode);
    return dwCode;
}

void ChildProcess::Kill()
{
    if (!IsRunning())
        return;
    TerminateProcess(m_hProcess.Get(), 1);
    WaitForSingleObject(m_hProcess.Get(), 5000);
}

int RunTool(const std::string& sApplication, const std::string& sCommandLine, DWORD dwTimeout)
{
    ChildProcess tool;
    if (!tool.Start(sApplication, sCommandLine, ""))
        return -1;
    if (!tool.WaitForExit(dwTimeout))
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

namespace
{
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
