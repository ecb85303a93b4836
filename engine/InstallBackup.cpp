#include "InstallBackup.h"

#include "CLog.h"
#include "TxFaultInjection.h"
#include "TxHandles.h"
#include "TxPrint.h"
#include "TxString.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace
{
struct KeptFile
{
    TxString sPath;
    TxString sBackup;
    WIN32_FILE_ATTRIBUTE_DATA data;
};

struct KeptValue
{
    HKEY hRoot;
    TxString sSubKey;
    TxString sValue;
    bool bExisted;
    DWORD dwType;
    std::vector<BYTE> bytes;
};

std::vector<KeptFile> g_KeptFiles;
std::vector<KeptValue> g_KeptValues;
// Keys that were missing when a value in them was kept: the run's writes
// made them, a rollback removes them again when empty.
std::vector<std::pair<HKEY, TxString>> g_MissingKeys;
std::vector<TxString> g_BackupFolders; // in order of creation
TxString g_sClosedAgent;

TxString FolderOf(const char* pszPath, const char** ppszName)
{
    const char* pszSlash = std::strrchr(pszPath, '\\');
    *ppszName = pszSlash != nullptr ? pszSlash + 1 : pszPath;
    TxString sFolder(pszPath);
    sFolder.SetLength(pszSlash != nullptr ? static_cast<int>(pszSlash - pszPath) : 0);
    return sFolder;
}

// The hidden backup folder of this run inside sFolder, made on first use.
bool BackupFolder(const TxString& sFolder, TxString& sBackup)
{
    char szName[32];
    TxPrint(szName, sizeof(szName), "%s%lu", BACKUP_FOLDER_PREFIX, GetCurrentProcessId());
    sBackup = sFolder;
    sBackup.Append("\\");
    sBackup.Append(szName);
    for (const TxString& sKnown : g_BackupFolders)
        if (sKnown.IsEqual(sBackup))
            return true;
    if (TX_FAULT(TXFAULT_MOVE) || !CreateDirectoryA(sBackup.GetText(), nullptr))
    {
        DWORD dwError = GetLastError();
        TX_LOG("KeepFile - CreateDirectoryA failed: path=%s, error=%lu", sBackup.GetText(),
               dwError);
        SetLastError(dwError);
        return false;
    }
    SetFileAttributesA(sBackup.GetText(), FILE_ATTRIBUTE_HIDDEN);
    g_BackupFolders.push_back(sBackup);
    return true;
}

bool SameText(const TxString& a, const char* b)
{
    return a.Compare(b) == 0;
}

// Puts the kept times and attributes back (a copy across volumes loses some).
void RestoreFileData(const KeptFile& kept)
{
    SetFileAttributesA(kept.sPath.GetText(), FILE_ATTRIBUTE_NORMAL);
    TxFileHandle hFile(CreateFileA(kept.sPath.GetText(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
    if (!hFile.IsValid() || !SetFileTime(hFile.Get(), &kept.data.ftCreationTime,
                                         &kept.data.ftLastAccessTime, &kept.data.ftLastWriteTime))
        TX_LOG("RestoreKept - SetFileTime failed: path=%s, error=%lu", kept.sPath.GetText(),
               GetLastError());
    hFile.Reset();
    if (!SetFileAttributesA(kept.sPath.GetText(), kept.data.dwFileAttributes))
        TX_LOG("RestoreKept - SetFileAttributesA failed: path=%s, error=%lu", kept.sPath.GetText(),
               GetLastError());
}

void RestoreFile(const KeptFile& kept)
{
    TX_LOG("Restoring file %s", kept.sPath.GetText());
    // Whatever stands there now was made by this run.
    SetFileAttributesA(kept.sPath.GetText(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(kept.sPath.GetText());
    if (!MoveFileExA(kept.sBackup.GetText(), kept.sPath.GetText(), MOVEFILE_COPY_ALLOWED))
    {
        TX_LOG("RestoreKept - MoveFileExA failed: from=%s, to=%s, error=%lu",
               kept.sBackup.GetText(), kept.sPath.GetText(), GetLastError());
        return;
    }
    RestoreFileData(kept);
}

void RestoreValue(const KeptValue& kept)
{
    TxRegKey key;
    if (!kept.bExisted)
    {
        // Absent before: whatever this run wrote goes; a missing key is fine.
        if (RegOpenKeyExA(kept.hRoot, kept.sSubKey.GetText(), 0, KEY_SET_VALUE, key.Receive()) ==
                ERROR_SUCCESS &&
            RegDeleteValueA(key.Get(), kept.sValue.GetText()) == ERROR_SUCCESS)
            TX_LOG("Removing registry value %s\\%s", kept.sSubKey.GetText(), kept.sValue.GetText());
        return;
    }
    TX_LOG("Restoring registry value %s\\%s", kept.sSubKey.GetText(), kept.sValue.GetText());
    LONG lResult =
        RegCreateKeyExA(kept.hRoot, kept.sSubKey.GetText(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, key.Receive(), nullptr);
    if (lResult == ERROR_SUCCESS)
        lResult = RegSetValueExA(key.Get(), kept.sValue.GetText(), 0, kept.dwType,
                                 kept.bytes.data(), static_cast<DWORD>(kept.bytes.size()));
    if (lResult != ERROR_SUCCESS)
        TX_LOG("RestoreKept - registry restore failed: key=%s, value=%s, error=%ld",
               kept.sSubKey.GetText(), kept.sValue.GetText(), lResult);
}

// Notes the levels of pszSubKey that do not exist yet.
void KeepMissingKeys(HKEY hRoot, const char* pszSubKey)
{
    for (TxString sKey(pszSubKey); !sKey.IsEmpty();)
    {
        TxRegKey key;
        if (RegOpenKeyExA(hRoot, sKey.GetText(), 0, KEY_QUERY_VALUE, key.Receive()) ==
            ERROR_SUCCESS)
            return;
        bool bKnown = false;
        for (const auto& known : g_MissingKeys)
            bKnown = bKnown || (known.first == hRoot && SameText(known.second, sKey.GetText()));
        if (!bKnown)
            g_MissingKeys.emplace_back(hRoot, sKey);
        const char* pszName = nullptr;
        sKey = FolderOf(sKey.GetText(), &pszName);
    }
}

// Removes a key the run made, unless something is in it now.
void RemoveMadeKey(HKEY hRoot, const TxString& sKey)
{
    TxRegKey key;
    DWORD dwSubkeys = 0;
    DWORD dwValues = 0;
    if (RegOpenKeyExA(hRoot, sKey.GetText(), 0, KEY_QUERY_VALUE, key.Receive()) != ERROR_SUCCESS ||
        RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &dwSubkeys, nullptr, nullptr,
                         &dwValues, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS ||
        dwSubkeys != 0 || dwValues != 0)
        return;
    key.Reset();
    TX_LOG("Removing registry key %s", sKey.GetText());
    LONG lResult = RegDeleteKeyA(hRoot, sKey.GetText());
    if (lResult != ERROR_SUCCESS)
        TX_LOG("RestoreKept - RegDeleteKeyA failed: key=%s, error=%ld", sKey.GetText(), lResult);
}

// One place for starting the agent, so that the route can change.
void StartAgent(const TxString& sPath)
{
    TX_LOG("Starting agent %s", sPath.GetText());
    // As Windows starts it from the Run key, in its own folder rather than
    // the setup's.
    TxString sCommand("\"");
    sCommand.Append(sPath.GetText());
    sCommand.Append("\" /r");
    const char* pszName = nullptr;
    TxString sFolder = FolderOf(sPath.GetText(), &pszName);
    std::vector<char> commandLine(sCommand.GetText(), sCommand.GetText() + sCommand.Length() + 1);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(sPath.GetText(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        sFolder.IsEmpty() ? nullptr : sFolder.GetText(), &startup, &process))
    {
        TX_LOG("RestoreKept - CreateProcessA failed: path=%s, error=%lu", sPath.GetText(),
               GetLastError());
        return;
    }
    TxKernelHandle hProcess(process.hProcess);
    TxKernelHandle hThread(process.hThread);
}

void DeleteNowOrAtRestart(const char* pszPath, bool bFolder)
{
    SetFileAttributesA(pszPath, FILE_ATTRIBUTE_NORMAL);
    if (bFolder ? RemoveDirectoryA(pszPath) : DeleteFileA(pszPath))
        return;
    DWORD dwError = GetLastError();
    TX_LOG("Deleting backup %s at restart (error %lu)", pszPath, dwError);
    if (!MoveFileExA(pszPath, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
        TX_LOG("DiscardKept - MoveFileExA failed: path=%s, error=%lu", pszPath, GetLastError());
}

void Forget()
{
    g_KeptFiles.clear();
    g_KeptValues.clear();
    g_MissingKeys.clear();
    g_BackupFolders.clear();
    g_sClosedAgent = "";
}
} // namespace

bool KeepFile(const char* pszPath)
{
    KeptFile kept;
    if (!GetFileAttributesExA(pszPath, GetFileExInfoStandard, &kept.data) ||
        (kept.data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return true;
    for (const KeptFile& known : g_KeptFiles)
        if (SameText(known.sPath, pszPath))
            return true;
    const char* pszName = nullptr;
    TxString sFolder = FolderOf(pszPath, &pszName);
    if (!BackupFolder(sFolder, kept.sBackup))
        return false;
    kept.sBackup.Append("\\");
    kept.sBackup.Append(pszName);
    kept.sPath = pszPath;
    TX_LOG("Keeping file %s", pszPath);
    if (TX_FAULT(TXFAULT_MOVE) ||
        !MoveFileExA(pszPath, kept.sBackup.GetText(), MOVEFILE_COPY_ALLOWED))
    {
        DWORD dwError = GetLastError();
        TX_LOG("KeepFile - MoveFileExA failed: from=%s, to=%s, error=%lu", pszPath,
               kept.sBackup.GetText(), dwError);
        SetLastError(dwError);
        return false;
    }
    g_KeptFiles.push_back(kept);
    return true;
}

void KeepRegistryValue(HKEY hRoot, const char* pszSubKey, const char* pszValue)
{
    for (const KeptValue& known : g_KeptValues)
        if (known.hRoot == hRoot && SameText(known.sSubKey, pszSubKey) &&
            SameText(known.sValue, pszValue))
            return;
    KeepMissingKeys(hRoot, pszSubKey);
    KeptValue kept;
    kept.hRoot = hRoot;
    kept.sSubKey = pszSubKey;
    kept.sValue = pszValue;
    kept.bExisted = false;
    kept.dwType = REG_NONE;
    TxRegKey key;
    DWORD cbData = 0;
    if (RegOpenKeyExA(hRoot, pszSubKey, 0, KEY_QUERY_VALUE, key.Receive()) == ERROR_SUCCESS &&
        RegQueryValueExA(key.Get(), pszValue, nullptr, &kept.dwType, nullptr, &cbData) ==
            ERROR_SUCCESS)
    {
        kept.bytes.resize(cbData);
        kept.bExisted =
            RegQueryValueExA(key.Get(), pszValue, nullptr, &kept.dwType,
                             cbData > 0 ? kept.bytes.data() : nullptr, &cbData) == ERROR_SUCCESS;
        kept.bytes.resize(cbData);
    }
    // Only a value that was there needs a line: an absent one is what the
    // history's undo already gives back.
    if (kept.bExisted)
        TX_LOG("Keeping registry value %s\\%s", pszSubKey, pszValue);
    g_KeptValues.push_back(kept);
}

void NoteAgentClosed(const char* pszAgentPath)
{
    g_sClosedAgent = pszAgentPath;
}

void RestoreKept()
{
    bool bAgentBack = false;
    for (auto it = g_KeptValues.rbegin(); it != g_KeptValues.rend(); ++it)
        RestoreValue(*it);
    // Inner keys first, whatever value made them.
    std::sort(g_MissingKeys.begin(), g_MissingKeys.end(),
              [](const auto& a, const auto& b) { return a.second.Length() > b.second.Length(); });
    for (const auto& made : g_MissingKeys)
        RemoveMadeKey(made.first, made.second);
    for (auto it = g_KeptFiles.rbegin(); it != g_KeptFiles.rend(); ++it)
    {
        RestoreFile(*it);
        if (!g_sClosedAgent.IsEmpty() && SameText(it->sPath, g_sClosedAgent.GetText()))
            bAgentBack = true;
    }
    for (auto it = g_BackupFolders.rbegin(); it != g_BackupFolders.rend(); ++it)
    {
        TX_LOG("Removing backup directory %s", it->GetText());
        SetFileAttributesA(it->GetText(), FILE_ATTRIBUTE_NORMAL);
        if (!RemoveDirectoryA(it->GetText()))
            TX_LOG("RestoreKept - RemoveDirectoryA failed: path=%s, error=%lu", it->GetText(),
                   GetLastError());
    }
    TxString sAgent = g_sClosedAgent;
    Forget();
    if (bAgentBack)
        StartAgent(sAgent);
}

void DiscardKept()
{
    for (const KeptFile& kept : g_KeptFiles)
    {
        TX_LOG("Deleting backup %s", kept.sBackup.GetText());
        DeleteNowOrAtRestart(kept.sBackup.GetText(), false);
    }
    for (auto it = g_BackupFolders.rbegin(); it != g_BackupFolders.rend(); ++it)
    {
        TX_LOG("Removing backup directory %s", it->GetText());
        DeleteNowOrAtRestart(it->GetText(), true);
    }
    Forget();
}

int KeptFileCount()
{
    return static_cast<int>(g_KeptFiles.size());
}
