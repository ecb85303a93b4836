#include "InstallBackup.h"

#include "CLog.h"
#include "FolderSecurity.h"
#include "ProgramStart.h"
#include "TxDiskApi.h"
#include "TxFaultInjection.h"
#include "TxHandles.h"
#include "TxRandomName.h"
#include "TxSafeFile.h"
#include "TxString.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace
{
// The backup store of one folder for this run: a hidden folder of a random
// name beside the files it keeps (a move into it is a rename on the same
// volume), made for SYSTEM and the administrators alone and held open
// without delete sharing for the whole run, so that it cannot be renamed or
// replaced; every use checks that its name still leads to the folder held.
struct BackupStore
{
    TxString sFolder; // the folder whose files it keeps
    TxString sPath;
    TxFileHandle hStore;
    TxEntryId id;
};

struct KeptFile
{
    TxString sPath;
    size_t iStore;
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

// Held: listed, walked through, its owner read, its attributes set.
constexpr DWORD STORE_ACCESS =
    FILE_LIST_DIRECTORY | FILE_TRAVERSE | READ_CONTROL | FILE_WRITE_ATTRIBUTES;
constexpr int STORE_NAME_TRIES = 8;

std::vector<BackupStore> g_Stores; // in order of creation
std::vector<KeptFile> g_KeptFiles;
std::vector<KeptValue> g_KeptValues;
// Keys that were missing when a value in them was kept: the run's writes
// made them, a rollback removes them again when empty.
std::vector<std::pair<HKEY, TxString>> g_MissingKeys;
TxString g_sClosedAgent;

TxString FolderOf(const char* pszPath, const char** ppszName)
{
    const char* pszSlash = std::strrchr(pszPath, '\\');
    *ppszName = pszSlash != nullptr ? pszSlash + 1 : pszPath;
    TxString sFolder(pszPath);
    sFolder.SetLength(pszSlash != nullptr ? static_cast<int>(pszSlash - pszPath) : 0);
    return sFolder;
}

TxString Child(const TxString& sFolder, const char* pszName)
{
    TxString sPath(sFolder);
    sPath.Append("\\");
    sPath.Append(pszName);
    return sPath;
}

bool SameText(const TxString& a, const char* b)
{
    return a.Compare(b) == 0;
}

// The store's name still leads to the folder the run holds.
bool StoreStands(const BackupStore& store)
{
    TxFileHandle hNow =
        TxOpenEntry(store.sPath.GetText(), TX_ENTRY_FOLDER, FILE_READ_ATTRIBUTES, TX_SHARE_ALL);
    TxEntryId id;
    if (hNow.IsValid() && TxGetEntryId(hNow.Get(), id) && id == store.id)
        return true;
    DWORD dwError = hNow.IsValid() ? TX_ERROR_LINK : GetLastError();
    TX_LOG("Backup directory %s is no longer the one made (error %lu)", store.sPath.GetText(),
           dwError);
    SetLastError(TX_ERROR_LINK);
    return false;
}

// Makes the store of sFolder: a new folder of an unpredictable name (a name
// that exists means another name), opened as it stands, owned by an
// administrator. Its index in g_Stores, or -1 with the last error set.
int MakeStore(const TxString& sFolder)
{
    CFolderSecurity security(FOLDER_PRIVATE);
    for (int i = 0; i < STORE_NAME_TRIES; ++i)
    {
        TxString sName = TxRandomName(BACKUP_FOLDER_PREFIX);
        if (sName.IsEmpty())
            break;
        BackupStore store;
        store.sFolder = sFolder;
        store.sPath = Child(sFolder, sName.GetText());
        if (TX_FAULT(TXFAULT_MOVE) || security.Attributes() == nullptr ||
            !CreateDirectoryA(store.sPath.GetText(), security.Attributes()))
        {
            DWORD dwError =
                security.Attributes() == nullptr ? ERROR_INVALID_SECURITY_DESCR : GetLastError();
            if (dwError == ERROR_ALREADY_EXISTS)
                continue;
            TX_LOG("KeepFile - CreateDirectoryA failed: path=%s, error=%lu", store.sPath.GetText(),
                   dwError);
            SetLastError(dwError);
            return -1;
        }
        store.hStore =
            TxOpenEntry(store.sPath.GetText(), TX_ENTRY_FOLDER, STORE_ACCESS, TX_SHARE_NO_DELETE);
        if (!store.hStore.IsValid() || !HasTrustedOwner(store.hStore.Get()) ||
            !TxGetEntryId(store.hStore.Get(), store.id))
        {
            DWORD dwError = store.hStore.IsValid() ? ERROR_ACCESS_DENIED : GetLastError();
            TX_LOG("KeepFile - backup directory refused: path=%s, error=%lu", store.sPath.GetText(),
                   dwError);
            SetLastError(dwError);
            return -1;
        }
        TxSetEntryAttributes(store.hStore.Get(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
        g_Stores.push_back(std::move(store));
        return static_cast<int>(g_Stores.size() - 1);
    }
    TX_LOG("KeepFile - no free random name for a backup directory in %s", sFolder.GetText());
    SetLastError(ERROR_ALREADY_EXISTS);
    return -1;
}

int StoreFor(const TxString& sFolder)
{
    for (size_t i = 0; i < g_Stores.size(); ++i)
        if (g_Stores[i].sFolder.IsEqual(sFolder))
            return static_cast<int>(i);
    return MakeStore(sFolder);
}

// Deletes the file at pszPath through its handle unless it is a link; true
// when nothing stands there afterwards.
bool DeleteFileThere(const char* pszPath)
{
    TxFileHandle hFile = TxOpenEntry(pszPath, TX_ENTRY_FILE, TX_ACCESS_REMOVE, TX_SHARE_ALL);
    if (!hFile.IsValid())
    {
        DWORD dwError = GetLastError();
        return dwError == ERROR_FILE_NOT_FOUND || dwError == ERROR_PATH_NOT_FOUND;
    }
    return TxDeleteEntry(hFile.Get());
}

// Moves the file pszName of the store sStore back into sFolder.
bool MoveBack(const TxString& sStore, const TxString& sFolder, const char* pszName)
{
    TxString sTarget = Child(sFolder, pszName);
    // Whatever stands there now was made by this run (or by the one that
    // was interrupted).
    if (!DeleteFileThere(sTarget.GetText()))
    {
        TX_LOG("RestoreKept - cannot clear the place: path=%s, error=%lu", sTarget.GetText(),
               GetLastError());
        return false;
    }
    TxString sBackup = Child(sStore, pszName);
    TxFileHandle hBackup =
        TxOpenEntry(sBackup.GetText(), TX_ENTRY_FILE, TX_ACCESS_REMOVE, TX_SHARE_ALL);
    TxFileHandle hFolder = TxOpenEntry(sFolder.GetText(), TX_ENTRY_FOLDER,
                                       FILE_LIST_DIRECTORY | FILE_TRAVERSE, TX_SHARE_ALL);
    if (hBackup.IsValid() && hFolder.IsValid() &&
        TxMoveEntry(hBackup.Get(), hFolder.Get(), pszName))
        return true;
    TX_LOG("RestoreKept - moving back failed: from=%s, to=%s, error=%lu", sBackup.GetText(),
           sTarget.GetText(), GetLastError());
    return false;
}

void RestoreFile(const KeptFile& kept)
{
    TX_LOG("Restoring file %s", kept.sPath.GetText());
    const BackupStore& store = g_Stores[kept.iStore];
    const char* pszName = nullptr;
    TxString sFolder = FolderOf(kept.sPath.GetText(), &pszName);
    if (StoreStands(store))
        MoveBack(store.sPath, sFolder, pszName);
}

// Deletes an entry of the run's own through a handle on the entry that was
// made (its identity when known); what cannot go now goes at the next
// restart. pszCaller names the operation in the log.
void DeleteNowOrAtRestart(const char* pszPath, TxEntryKind kind, const TxEntryId* pId,
                          const char* pszCaller, bool bAtRestart = true)
{
    TxFileHandle hEntry = TxOpenEntry(pszPath, kind, TX_ACCESS_REMOVE, TX_SHARE_ALL);
    TxEntryId id;
    if (hEntry.IsValid() && pId != nullptr && (!TxGetEntryId(hEntry.Get(), id) || !(id == *pId)))
    {
        TX_LOG("%s - not deleting %s: it is no longer the one made", pszCaller, pszPath);
        return;
    }
    if (hEntry.IsValid() && TxDeleteEntry(hEntry.Get()))
        return;
    DWORD dwError = GetLastError();
    if (dwError == TX_ERROR_LINK || dwError == ERROR_FILE_NOT_FOUND ||
        dwError == ERROR_PATH_NOT_FOUND || !bAtRestart)
    {
        TX_LOG("%s - not deleting %s: error=%lu", pszCaller, pszPath, dwError);
        return;
    }
    TX_LOG("Deleting backup %s at restart (error %lu)", pszPath, dwError);
    if (!MoveFileExA(pszPath, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
        TX_LOG("%s - MoveFileExA failed: path=%s, error=%lu", pszCaller, pszPath, GetLastError());
}

void RemoveStores(const char* pszCaller)
{
    for (auto it = g_Stores.rbegin(); it != g_Stores.rend(); ++it)
    {
        TX_LOG("Removing backup directory %s", it->sPath.GetText());
        // The run's own handle shares no deletion, its own included.
        it->hStore.Reset();
        DeleteNowOrAtRestart(it->sPath.GetText(), TX_ENTRY_FOLDER, &it->id, pszCaller);
    }
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

void Forget()
{
    g_KeptFiles.clear();
    g_KeptValues.clear();
    g_Stores.clear();
    g_MissingKeys.clear();
    g_sClosedAgent = "";
}
// Puts back what the store of an interrupted run kept, as that run's
// rollback would have, so that an earlier installation never loses a file to
// a setup that was killed; the store goes once empty. A store that is a link
// or not an administrator's is left alone.
void RecoverStore(const TxString& sFolder, const TxString& sStore)
{
    TX_LOG("Found backup directory %s of an interrupted setup", sStore.GetText());
    TxFileHandle hStore = TxOpenEntry(sStore.GetText(), TX_ENTRY_FOLDER,
                                      FILE_LIST_DIRECTORY | READ_CONTROL, TX_SHARE_NO_DELETE);
    TxEntryId id;
    if (!hStore.IsValid() || !HasTrustedOwner(hStore.Get()) || !TxGetEntryId(hStore.Get(), id))
    {
        TX_LOG("RecoverInterruptedBackups - backup directory refused: path=%s, error=%lu",
               sStore.GetText(), hStore.IsValid() ? ERROR_ACCESS_DENIED : GetLastError());
        return;
    }
    std::vector<TxString> names;
    WIN32_FIND_DATAA data;
    TxFindHandle hFind(FindFirstFileA(Child(sStore, "*").GetText(), &data));
    for (bool bFound = hFind.IsValid(); bFound; bFound = FindNextFileA(hFind.Get(), &data) != FALSE)
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        {
            TxString sName(data.cFileName);
            names.push_back(sName);
        }
    hFind.Reset();
    for (const TxString& sName : names)
    {
        TX_LOG("Restoring file %s", Child(sFolder, sName.GetText()).GetText());
        MoveBack(sStore, sFolder, sName.GetText());
    }
    TX_LOG("Removing backup directory %s", sStore.GetText());
    hStore.Reset();
    DeleteNowOrAtRestart(sStore.GetText(), TX_ENTRY_FOLDER, &id, "RecoverInterruptedBackups",
                         false);
}
} // namespace

bool KeepFile(const char* pszPath)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(pszPath, GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return true;
    for (const KeptFile& known : g_KeptFiles)
        if (SameText(known.sPath, pszPath))
            return DeleteFileThere(pszPath);
    const char* pszName = nullptr;
    TxString sFolder = FolderOf(pszPath, &pszName);
    int iStore = StoreFor(sFolder);
    if (iStore < 0)
        return false;
    const BackupStore& store = g_Stores[static_cast<size_t>(iStore)];
    TxString sBackup = Child(store.sPath, pszName);
    TX_LOG("Keeping file %s", pszPath);
    TxFileHandle hFile;
    if (StoreStands(store))
        hFile = TxOpenEntry(pszPath, TX_ENTRY_FILE, TX_ACCESS_REMOVE, TX_SHARE_ALL);
    if (TX_FAULT(TXFAULT_MOVE) || !hFile.IsValid() ||
        !TxMoveEntry(hFile.Get(), store.hStore.Get(), pszName))
    {
        DWORD dwError = GetLastError();
        TX_LOG("KeepFile - moving aside failed: from=%s, to=%s, error=%lu", pszPath,
               sBackup.GetText(), dwError);
        SetLastError(dwError);
        return false;
    }
    KeptFile kept = {TxString(pszPath), static_cast<size_t>(iStore)};
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
    // Inner keys first, whatever value made them: the longest name left each
    // time (a handful of keys; std::sort's code is a kilobyte of Setup.exe).
    while (!g_MissingKeys.empty())
    {
        auto longest = std::max_element(g_MissingKeys.begin(), g_MissingKeys.end(),
                                        [](const auto& a, const auto& b)
                                        { return a.second.Length() < b.second.Length(); });
        RemoveMadeKey(longest->first, longest->second);
        *longest = g_MissingKeys.back();
        g_MissingKeys.pop_back();
    }
    for (auto it = g_KeptFiles.rbegin(); it != g_KeptFiles.rend(); ++it)
    {
        RestoreFile(*it);
        if (!g_sClosedAgent.IsEmpty() && SameText(it->sPath, g_sClosedAgent.GetText()))
            bAgentBack = true;
    }
    RemoveStores("RestoreKept");
    TxString sAgent = g_sClosedAgent;
    Forget();
    // As Windows starts it from the Run key: as the user, in its own folder.
    if (bAgentBack)
    {
        TX_LOG("Starting agent %s", sAgent.GetText());
        StartProgramAsUser(sAgent.GetText(), "/r");
    }
}

void DiscardKept()
{
    for (const KeptFile& kept : g_KeptFiles)
    {
        const char* pszName = nullptr;
        FolderOf(kept.sPath.GetText(), &pszName);
        const BackupStore& store = g_Stores[kept.iStore];
        TxString sBackup = Child(store.sPath, pszName);
        TX_LOG("Deleting backup %s", sBackup.GetText());
        if (StoreStands(store))
            DeleteNowOrAtRestart(sBackup.GetText(), TX_ENTRY_FILE, nullptr, "DiscardKept");
    }
    RemoveStores("DiscardKept");
    Forget();
}

void RecoverInterruptedBackups(const char* pszFolder)
{
    TxString sFolder = PlainFolderPath(pszFolder);
    std::vector<TxString> stale;
    WIN32_FIND_DATAA data;
    TxString sPattern = Child(sFolder, BACKUP_FOLDER_PREFIX);
    sPattern.Append("*");
    TxFindHandle hFind(FindFirstFileA(sPattern.GetText(), &data));
    for (bool bFound = hFind.IsValid(); bFound; bFound = FindNextFileA(hFind.Get(), &data) != FALSE)
    {
        TxString sPath = Child(sFolder, data.cFileName);
        bool bOwn = false;
        for (const BackupStore& store : g_Stores)
            bOwn = bOwn || store.sPath.IsEqual(sPath);
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !bOwn)
            stale.push_back(sPath);
    }
    hFind.Reset();
    for (const TxString& sStore : stale)
        RecoverStore(sFolder, sStore);
}

int KeptFileCount()
{
    return static_cast<int>(g_KeptFiles.size());
}
