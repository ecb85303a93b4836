#include "StandInTestSupport.h"

#include "ProductNames.h"
#include "TxHandles.h"
#include "TxPaths.h"

void DeleteProductKey()
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, PRODUCT_REG_KEY);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, VENDOR_REG_KEY);
}

std::string BesideTest(const char* pszName)
{
    return TxJoinPath(TxProgramFolder().GetText(), pszName).GetText();
}

namespace
{
bool IsLink(const std::string& sPath)
{
    DWORD dwAttributes = GetFileAttributesA(sPath.c_str());
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// The Unix path Wine maps a Windows path to; empty outside Wine.
std::string UnixPath(const std::string& sPath)
{
    using UnixNameProc = char*(CDECL*)(LPCWSTR);
    auto pfn = reinterpret_cast<UnixNameProc>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    WCHAR wszPath[MAX_PATH];
    if (pfn == nullptr || MultiByteToWideChar(CP_ACP, 0, sPath.c_str(), -1, wszPath, MAX_PATH) == 0)
        return std::string();
    char* pszUnix = pfn(wszPath);
    if (pszUnix == nullptr)
        return std::string();
    std::string sUnix(pszUnix);
    HeapFree(GetProcessHeap(), 0, pszUnix);
    return sUnix;
}

// Wine starts Unix programs through CreateProcess, but tells neither their
// end nor their exit code: bDone says when the work is seen done.
template <class Done>
bool RunUnixTool(const char* pszTool, const std::string& sArguments, Done bDone)
{
    std::string sCommand = std::string(pszTool) + " " + sArguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::string sProgram = WinePath(pszTool);
    if (!CreateProcessA(sProgram.c_str(), &sCommand[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        return false;
    TxKernelHandle hProcess(process.hProcess);
    TxKernelHandle hThread(process.hThread);
    for (int i = 0; i < 100; ++i, Sleep(50))
        if (bDone())
            return true;
    return false;
}
} // namespace

bool MakeFolderLink(const std::string& sLink, const std::string& sTarget)
{
    constexpr DWORD LINK_TO_FOLDER_UNPRIVILEGED = 0x1 | 0x2;
    if (CreateSymbolicLinkA(sLink.c_str(), sTarget.c_str(), LINK_TO_FOLDER_UNPRIVILEGED) &&
        IsLink(sLink))
        return true;
    std::string sUnixLink = UnixPath(sLink);
    std::string sUnixTarget = UnixPath(sTarget);
    if (sUnixLink.empty() || sUnixTarget.empty())
        return false;
    return RunUnixTool("/bin/ln", "-s \"" + sUnixTarget + "\" \"" + sUnixLink + "\"",
                       [&] { return IsLink(sLink); });
}

void RemoveFolderLink(const std::string& sLink)
{
    if (!IsLink(sLink) || RemoveDirectoryA(sLink.c_str()))
        return;
    std::string sUnixLink = UnixPath(sLink);
    if (!sUnixLink.empty())
        RunUnixTool("/bin/rm", "\"" + sUnixLink + "\"", [&] { return !IsLink(sLink); });
}
