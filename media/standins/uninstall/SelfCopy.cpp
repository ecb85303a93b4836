#include "SelfCopy.h"

#include "CommandLine.h"
#include "TxHandles.h"

#include <cstdio>
#include <string>
#include <vector>
#include <windows.h>

namespace
{
constexpr DWORD ORIGINAL_END_WAIT_MS = 30000;
constexpr char COPY_NAME[] = "Uninstall.exe";

std::string ParentOf(const std::string& sPath)
{
    size_t iSlash = sPath.find_last_of('\\');
    return iSlash == std::string::npos ? std::string() : sPath.substr(0, iSlash);
}

// A folder nobody else has put anything into: a DLL planted in the temp
// folder must not sit beside an elevated program.
bool MakeOwnFolder(std::string& sFolder)
{
    char szTemp[MAX_PATH + 1];
    DWORD n = GetTempPathA(sizeof(szTemp), szTemp);
    if (n == 0 || n >= sizeof(szTemp))
        return false;
    for (DWORD i = 0; i < 100; ++i)
    {
        char szName[32];
        std::snprintf(szName, sizeof(szName), "QvUninstall.%08lX",
                      static_cast<unsigned long>(GetTickCount() + i));
        sFolder = std::string(szTemp) + szName;
        if (CreateDirectoryA(sFolder.c_str(), nullptr))
            return true;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return false;
}

// Starts the copy; it inherits one handle, the original's, to wait on.
bool StartCopy(const std::string& sCopy, const std::string& sCommand)
{
    HANDLE hOwn = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &hOwn,
                         SYNCHRONIZE, TRUE, 0))
        return false;
    TxKernelHandle own(hOwn);
    char szHandle[32];
    std::snprintf(szHandle, sizeof(szHandle), " /%s:%lu", HANDOFF_SWITCH,
                  static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(hOwn)));
    std::string sLine = sCommand + szHandle;
    std::vector<char> line(sLine.begin(), sLine.end());
    line.push_back(0);
    char szTemp[MAX_PATH + 1];
    DWORD n = GetTempPathA(sizeof(szTemp), szTemp);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(sCopy.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        n > 0 && n < sizeof(szTemp) ? szTemp : nullptr, &startup, &process))
        return false;
    TxKernelHandle copyProcess(process.hProcess);
    TxKernelHandle copyThread(process.hThread);
    return true;
}
} // namespace

bool HandOverToCopy(const TxString& sSelf, const char* pszCmdLine)
{
    std::string sFolder;
    if (!MakeOwnFolder(sFolder))
        return false;
    std::string sCopy = sFolder + "\\" + COPY_NAME;
    std::string sCommand = "\"" + sCopy + "\" " + (pszCmdLine ? pszCmdLine : "") + " /" +
                           ORIGINAL_SWITCH + ":\"" + sSelf.GetText() + "\"";
    if (CopyFileA(sSelf.GetText(), sCopy.c_str(), TRUE) && StartCopy(sCopy, sCommand))
        return true;
    DeleteFileA(sCopy.c_str());
    RemoveDirectoryA(sFolder.c_str());
    return false;
}

TxString WaitForOriginal(const char* pszCmdLine)
{
    std::string sOriginal = SwitchValue(pszCmdLine, ORIGINAL_SWITCH);
    if (sOriginal.empty())
        return TxString();
    std::string sHandle = SwitchValue(pszCmdLine, HANDOFF_SWITCH);
    ULONG_PTR uHandle = std::strtoul(sHandle.c_str(), nullptr, 10);
    if (uHandle != 0)
    {
        // Should the original not end, its file is left to the restart.
        TxKernelHandle original(reinterpret_cast<HANDLE>(uHandle));
        WaitForSingleObject(original.Get(), ORIGINAL_END_WAIT_MS);
    }
    return TxString(sOriginal.c_str());
}

bool ScheduleOwnRemoval(const TxString& sSelf)
{
    std::string sFolder = ParentOf(sSelf.GetText());
    return MoveFileExA(sSelf.GetText(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) && !sFolder.empty() &&
           MoveFileExA(sFolder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}
