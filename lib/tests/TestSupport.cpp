#include "TestSupport.h"

#include "CLog.h"
#include "LogReceiverWindow.h"
#include "TxComLibrary.h"
#include "TxHandles.h"
#include "TxPaths.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <sddl.h>
#include <shlobj.h>

bool DeleteTree(const std::string& path)
{
    DWORD dwAttributes = GetFileAttributesA(path.c_str());
    if (dwAttributes == INVALID_FILE_ATTRIBUTES)
        return true;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if ((dwAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return DeleteFileA(path.c_str()) != FALSE;
    // A link to a folder goes itself; what it points to is not the test's.
    if ((dwAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return RemoveDirectoryA(path.c_str()) != FALSE || RemoveSymbolicLink(path);
    WIN32_FIND_DATAA data;
    TxFindHandle hFind(FindFirstFileA((path + "\\*").c_str(), &data));
    for (bool bFound = hFind.IsValid(); bFound; bFound = FindNextFileA(hFind.Get(), &data))
    {
        std::string name = data.cFileName;
        if (name != "." && name != "..")
            DeleteTree(path + "\\" + name);
    }
    hFind.Reset();
    return RemoveDirectoryA(path.c_str()) != FALSE;
}

bool PathExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TempFolder::TempFolder(const char* pszPrefix)
{
    char szTemp[MAX_PATH];
    DWORD n = GetTempPathA(sizeof(szTemp), szTemp);
    EXPECT_TRUE(n > 0 && n < sizeof(szTemp));
    std::string base = n > 0 && n < sizeof(szTemp) ? std::string(szTemp, n) : "C:\\";
    if (base.back() != '\\')
        base += '\\';
    // A folder left by an earlier process with the same id is never reused.
    static int s_iCount = 0;
    for (;;)
    {
        char szName[96];
        std::snprintf(szName, sizeof(szName), "%s%lu_%d", pszPrefix, GetCurrentProcessId(),
                      ++s_iCount);
        m_sPath = base + szName;
        if (CreateDirectoryA(m_sPath.c_str(), nullptr))
            return;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    ADD_FAILURE() << "cannot create " << m_sPath;
}

TempFolder::~TempFolder()
{
    DeleteTree(m_sPath);
}

std::string TempFolder::AddFile(const std::string& name, const std::string& bytes) const
{
    std::string path = Child(name);
    EXPECT_TRUE(WriteWholeFile(path, bytes)) << path;
    return path;
}

std::vector<std::string> TempFolder::Entries() const
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    TxFindHandle hFind(FindFirstFileA((m_sPath + "\\*").c_str(), &data));
    for (bool bFound = hFind.IsValid(); bFound; bFound = FindNextFileA(hFind.Get(), &data))
    {
        std::string name = data.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    return names;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes)
{
    TxFileHandle hFile(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD dwWritten = 0;
    return hFile.IsValid() &&
           WriteFile(hFile.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &dwWritten,
                     nullptr) &&
           dwWritten == bytes.size();
}

std::string ReadWholeFile(const std::string& path)
{
    TxFileHandle hFile(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string bytes;
    char buffer[4096];
    DWORD dwRead = 0;
    while (hFile.IsValid() && ReadFile(hFile.Get(), buffer, sizeof(buffer), &dwRead, nullptr) &&
           dwRead > 0)
        bytes.append(buffer, dwRead);
    return bytes;
}

unsigned long long LastWriteTime(const std::string& sPath)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(sPath.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}

std::string SystemErrorText(DWORD dwError)
{
    return TxSystemErrorText(dwError).GetText();
}

std::string WinePath(const std::string& sLinuxPath)
{
    std::string sPath = "Z:" + sLinuxPath;
    std::replace(sPath.begin(), sPath.end(), '/', '\\');
    return sPath;
}

std::string WineUnixPath(const std::string& sPath)
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

namespace
{
// The directory entry itself, not what a link leads to.
bool EntryListed(const std::string& sPath)
{
    WIN32_FIND_DATAA data;
    TxFindHandle hFind(FindFirstFileA(sPath.c_str(), &data));
    return hFind.IsValid();
}

} // namespace

bool RunUnixTool(const char* pszTool, const std::string& sArguments,
                 const std::function<bool()>& done)
{
    if (WineUnixPath("C:\\").empty())
        return false;
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
        if (done())
            return true;
    return false;
}

bool MakeSymbolicLink(const std::string& sLink, const std::string& sTarget)
{
    std::string sUnixLink = WineUnixPath(sLink);
    std::string sUnixTarget = WineUnixPath(sTarget);
    if (sUnixLink.empty() || sUnixTarget.empty())
    {
        constexpr DWORD UNPRIVILEGED = 0x2;
        DWORD dwTarget = GetFileAttributesA(sTarget.c_str());
        DWORD dwFlags = UNPRIVILEGED | (dwTarget != INVALID_FILE_ATTRIBUTES &&
                                                (dwTarget & FILE_ATTRIBUTE_DIRECTORY) != 0
                                            ? SYMBOLIC_LINK_FLAG_DIRECTORY
                                            : 0);
        return CreateSymbolicLinkA(sLink.c_str(), sTarget.c_str(), dwFlags) && EntryListed(sLink);
    }
    return RunUnixTool("/bin/ln", "-s \"" + sUnixTarget + "\" \"" + sUnixLink + "\"",
                       [&] { return EntryListed(sLink); });
}

bool MoveAsAnotherProgram(const std::string& sFrom, const std::string& sTo)
{
    std::string sUnixFrom = WineUnixPath(sFrom);
    std::string sUnixTo = WineUnixPath(sTo);
    if (sUnixFrom.empty() || sUnixTo.empty())
        return MoveFileExA(sFrom.c_str(), sTo.c_str(), 0) != FALSE;
    return RunUnixTool("/bin/mv", "\"" + sUnixFrom + "\" \"" + sUnixTo + "\"",
                       [&] { return !EntryListed(sFrom) && EntryListed(sTo); });
}

bool RemoveSymbolicLink(const std::string& sLink)
{
    if (!EntryListed(sLink))
        return true;
    std::string sUnixLink = WineUnixPath(sLink);
    if (sUnixLink.empty())
        return RemoveDirectoryA(sLink.c_str()) || DeleteFileA(sLink.c_str());
    return RunUnixTool("/bin/rm", "-f \"" + sUnixLink + "\"", [&] { return !EntryListed(sLink); });
}

bool RegKeyExists(const char* pszKey)
{
    TxRegKey key;
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, pszKey, 0, KEY_QUERY_VALUE, key.Receive()) ==
           ERROR_SUCCESS;
}

bool RegValueExists(const char* pszKey, const char* pszValue)
{
    TxRegKey key;
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, pszKey, 0, KEY_QUERY_VALUE, key.Receive()) ==
               ERROR_SUCCESS &&
           RegQueryValueExA(key.Get(), pszValue, nullptr, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS;
}

bool SetRegString(const char* pszKey, const char* pszValue, const char* pszText)
{
    TxRegKey key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, pszKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, key.Receive(), nullptr) != ERROR_SUCCESS)
        return false;
    return RegSetValueExA(key.Get(), pszValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(pszText),
                          static_cast<DWORD>(std::strlen(pszText) + 1)) == ERROR_SUCCESS;
}

HKEY OpenUserKeyForChange(const char* pszKey)
{
    HKEY hKey = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, pszKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &hKey, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return hKey;
}

bool ReadShortcut(const std::string& sLinkPath, ShortcutInfo& info)
{
    TxComInit com;
    TxComPtr<IShellLinkA> pLink;
    TxComPtr<IPersistFile> pFile;
    wchar_t wszPath[MAX_PATH];
    if (FAILED(TxCreateInstance(CLSID_ShellLink, IID_IShellLinkA, pLink.Receive())) ||
        FAILED(pLink->QueryInterface(IID_IPersistFile, pFile.Receive())) ||
        MultiByteToWideChar(CP_ACP, 0, sLinkPath.c_str(), -1, wszPath, MAX_PATH) == 0 ||
        FAILED(pFile->Load(wszPath, STGM_READ)))
        return false;
    char szText[MAX_PATH] = "";
    if (FAILED(pLink->GetPath(szText, MAX_PATH, nullptr, SLGP_RAWPATH)))
        return false;
    info.sTarget = szText;
    szText[0] = 0;
    if (FAILED(pLink->GetDescription(szText, MAX_PATH)))
        return false;
    info.sDescription = szText;
    return true;
}

LogCapture::LogCapture()
    : m_pWindow(new LogReceiverWindow([this](const std::string& data) { m_Data.push_back(data); }))
{
    EXPECT_TRUE(m_pWindow->Create(false, false));
    g_Log.Restart(g_SetupLogConfig);
    EXPECT_TRUE(g_bLogEnabled);
}

LogCapture::~LogCapture()
{
    m_pWindow.reset();
    g_Log.Restart(g_SetupLogConfig);
}

bool LogCapture::IsReady() const
{
    return m_pWindow->Handle() != nullptr && g_Log.IsReceiverFound();
}

std::vector<std::string> LogCapture::Messages() const
{
    size_t cchPrefix = Prefix().size();
    std::vector<std::string> messages;
    for (const std::string& data : m_Data)
    {
        std::string text(data.c_str());
        messages.push_back(text.size() >= cchPrefix ? text.substr(cchPrefix) : text);
    }
    return messages;
}

std::string LogCapture::Prefix()
{
    char szThread[16];
    std::snprintf(szThread, sizeof(szThread), "%08lx", GetCurrentThreadId());
    return std::string("Setup     ") + " " + szThread + "       ";
}

namespace
{
constexpr char SESSION_MANAGER_KEY[] = "System\\CurrentControlSet\\Control\\Session Manager";
constexpr char PENDING_VALUE[] = "PendingFileRenameOperations";

bool ReadPending(std::string& sData)
{
    TxRegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, SESSION_MANAGER_KEY, 0, KEY_QUERY_VALUE, key.Receive()) !=
        ERROR_SUCCESS)
        return false;
    DWORD cb = 0;
    if (RegQueryValueExA(key.Get(), PENDING_VALUE, nullptr, nullptr, nullptr, &cb) != ERROR_SUCCESS)
        return false;
    sData.assign(cb, '\0');
    if (cb == 0)
        return true;
    if (RegQueryValueExA(key.Get(), PENDING_VALUE, nullptr, nullptr,
                         reinterpret_cast<BYTE*>(&sData[0]), &cb) != ERROR_SUCCESS)
        return false;
    sData.resize(cb);
    return true;
}
} // namespace

// In the body: m_sSaved is constructed only after m_bHadValue.
PendingRemovalsGuard::PendingRemovalsGuard() : m_bHadValue(false)
{
    m_bHadValue = ReadPending(m_sSaved);
}

PendingRemovalsGuard::~PendingRemovalsGuard()
{
    TxRegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, SESSION_MANAGER_KEY, 0, KEY_SET_VALUE, key.Receive()) !=
        ERROR_SUCCESS)
        return;
    // An empty list is no list: Wine then fails every later MoveFileEx
    // with MOVEFILE_DELAY_UNTIL_REBOOT.
    if (!m_bHadValue || m_sSaved.find_first_not_of('\0') == std::string::npos)
    {
        RegDeleteValueA(key.Get(), PENDING_VALUE);
        return;
    }
    RegSetValueExA(key.Get(), PENDING_VALUE, 0, REG_MULTI_SZ,
                   reinterpret_cast<const BYTE*>(m_sSaved.data()),
                   static_cast<DWORD>(m_sSaved.size()));
}

std::string PendingRemovalsGuard::Current()
{
    std::string sData;
    ReadPending(sData);
    return sData;
}

std::vector<DaclEntry> DaclEntries(PSECURITY_DESCRIPTOR pDescriptor, bool& bProtected)
{
    std::vector<DaclEntry> entries;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD dwRevision = 0;
    BOOL bPresent = FALSE;
    BOOL bDefaulted = FALSE;
    PACL pDacl = nullptr;
    bProtected = GetSecurityDescriptorControl(pDescriptor, &control, &dwRevision) &&
                 (control & SE_DACL_PROTECTED) != 0;
    if (!GetSecurityDescriptorDacl(pDescriptor, &bPresent, &pDacl, &bDefaulted) || !bPresent ||
        pDacl == nullptr)
        return entries;
    for (DWORD i = 0; i < pDacl->AceCount; ++i)
    {
        ACCESS_ALLOWED_ACE* pAce = nullptr;
        if (!GetAce(pDacl, i, reinterpret_cast<void**>(&pAce)))
            break;
        // Allowed and denied entries share this layout.
        char* pszSid = nullptr;
        std::string sSid;
        if (ConvertSidToStringSidA(&pAce->SidStart, &pszSid))
        {
            sSid = pszSid;
            LocalFree(pszSid);
        }
        entries.push_back({sSid, pAce->Header.AceType, pAce->Header.AceFlags, pAce->Mask});
    }
    return entries;
}
