#include "ItemRemoval.h"

#include "TxHandles.h"

#include <string>

namespace
{
bool IsMissingError(DWORD dwError)
{
    return dwError == ERROR_FILE_NOT_FOUND || dwError == ERROR_PATH_NOT_FOUND;
}

// True when the folder holds anything besides "." and "..".
bool HasEntries(const char* pszFolder)
{
    std::string sPattern(pszFolder);
    if (!sPattern.empty() && sPattern.back() != '\\' && sPattern.back() != '/')
        sPattern += '\\';
    sPattern += '*';
    WIN32_FIND_DATAA data;
    TxFindHandle find(FindFirstFileA(sPattern.c_str(), &data));
    if (!find.IsValid())
        return false;
    do
    {
        if (lstrcmpA(data.cFileName, ".") != 0 && lstrcmpA(data.cFileName, "..") != 0)
            return true;
    } while (FindNextFileA(find.Get(), &data));
    return false;
}

RemoveResult OpenError(DWORD dwError)
{
    if (IsMissingError(dwError) || dwError == ERROR_DIRECTORY)
        return RemoveResult::NotFound;
    return dwError == TX_ERROR_LINK ? RemoveResult::Refused : RemoveResult::Failed;
}

// Opens the entry for its removal; Removed stands for "opened and in place".
RemoveResult Open(const char* pszPath, TxEntryKind kind, DWORD dwAccess, HANDLE hRoot,
                  TxFileHandle& hEntry)
{
    hEntry = TxOpenEntry(pszPath, kind, dwAccess, TX_SHARE_ALL);
    if (!hEntry.IsValid())
        return OpenError(GetLastError());
    if (hRoot != nullptr && !TxIsInsideFolder(hRoot, hEntry.Get()))
        return RemoveResult::Refused;
    return RemoveResult::Removed;
}

// The folder's delete: a folder that still holds something stays.
RemoveResult DeleteFolder(const char* pszPath, RemoveResult opened, const TxFileHandle& hFolder)
{
    DWORD dwError = GetLastError();
    if (opened == RemoveResult::Removed)
    {
        if (TxDeleteEntry(hFolder.Get()))
            return RemoveResult::Removed;
        dwError = GetLastError();
        if (dwError == ERROR_DIR_NOT_EMPTY)
            return RemoveResult::NotEmpty;
    }
    else if (opened != RemoveResult::Failed)
        return opened;
    // A 32-bit program on 64-bit Windows cannot remove the folder it was
    // started from while it still holds files (the running uninstaller among
    // them): the system answers with a sharing violation instead of "not
    // empty". Treat it as what it is, so the folder can go at the restart.
    if (dwError == ERROR_SHARING_VIOLATION && HasEntries(pszPath))
        return RemoveResult::NotEmpty;
    return RemoveResult::Failed;
}

RemoveResult RegistryResult(LONG lResult)
{
    if (lResult == ERROR_SUCCESS)
        return RemoveResult::Removed;
    return IsMissingError(static_cast<DWORD>(lResult)) ? RemoveResult::NotFound
                                                       : RemoveResult::Failed;
}
} // namespace

void HeldFolders::Hold(const TxString& sFolder)
{
    if (sFolder.IsEmpty() || Lookup(sFolder) != nullptr)
        return;
    Held held{
        sFolder,
        TxOpenEntry(sFolder.GetText(), TX_ENTRY_FOLDER, FILE_LIST_DIRECTORY, TX_SHARE_NO_DELETE),
        NO_ERROR};
    held.dwError = held.hFolder.IsValid() ? NO_ERROR : GetLastError();
    m_Folders.push_back(std::move(held));
}

const HeldFolders::Held* HeldFolders::Lookup(const TxString& sFolder) const
{
    for (const Held& held : m_Folders)
        if (lstrcmpiA(held.sFolder.GetText(), sFolder.GetText()) == 0)
            return &held;
    return nullptr;
}

HANDLE HeldFolders::Find(const TxString& sFolder) const
{
    const Held* pHeld = Lookup(sFolder);
    if (pHeld == nullptr || !pHeld->hFolder.IsValid())
    {
        SetLastError(pHeld != nullptr ? pHeld->dwError : ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return pHeld->hFolder.Get();
}

bool HeldFolders::Release(const TxString& sFolder, TxEntryId& id)
{
    for (auto it = m_Folders.begin(); it != m_Folders.end(); ++it)
    {
        if (lstrcmpiA(it->sFolder.GetText(), sFolder.GetText()) != 0)
            continue;
        bool bHeld = it->hFolder.IsValid() && TxGetEntryId(it->hFolder.Get(), id);
        m_Folders.erase(it);
        return bHeld;
    }
    return false;
}

RemoveResult RemoveFileItem(const char* pszPath, HANDLE hRoot)
{
    TxFileHandle hFile;
    RemoveResult result = Open(pszPath, TX_ENTRY_FILE, TX_ACCESS_REMOVE, hRoot, hFile);
    if (result != RemoveResult::Removed)
        return result;
    return TxDeleteEntry(hFile.Get()) ? RemoveResult::Removed : RemoveResult::Failed;
}

RemoveResult RemoveFolderItem(const char* pszPath, HANDLE hRoot)
{
    TxFileHandle hFolder;
    RemoveResult opened = Open(pszPath, TX_ENTRY_FOLDER, TX_ACCESS_REMOVE, hRoot, hFolder);
    return DeleteFolder(pszPath, opened, hFolder);
}

RemoveResult RemoveReleasedFolder(const char* pszPath, const TxEntryId& id)
{
    TxFileHandle hFolder;
    RemoveResult opened = Open(pszPath, TX_ENTRY_FOLDER, TX_ACCESS_REMOVE, nullptr, hFolder);
    TxEntryId now;
    if (opened == RemoveResult::Removed && (!TxGetEntryId(hFolder.Get(), now) || !(now == id)))
        return RemoveResult::Refused;
    return DeleteFolder(pszPath, opened, hFolder);
}

RemoveResult CheckItem(const char* pszPath, bool bFolder, HANDLE hRoot, const TxEntryId* pId)
{
    TxFileHandle hEntry;
    RemoveResult result =
        Open(pszPath, bFolder ? TX_ENTRY_FOLDER : TX_ENTRY_FILE, 0, hRoot, hEntry);
    TxEntryId now;
    if (result == RemoveResult::Removed && pId != nullptr &&
        (!TxGetEntryId(hEntry.Get(), now) || !(now == *pId)))
        return RemoveResult::Refused;
    return result;
}

RemoveResult RemoveRegistryValue(HKEY hRoot, const char* pszKey, const char* pszValue)
{
    TxRegKey key;
    LONG lResult = RegOpenKeyExA(hRoot, pszKey, 0, KEY_SET_VALUE, key.Receive());
    if (lResult != ERROR_SUCCESS)
        return RegistryResult(lResult);
    return RegistryResult(RegDeleteValueA(key.Get(), pszValue));
}

RemoveResult RemoveRegistryKey(HKEY hRoot, const char* pszKey)
{
    return RegistryResult(RegDeleteKeyA(hRoot, pszKey));
}

RemoveResult RemoveEmptyRegistryKey(HKEY hRoot, const char* pszKey)
{
    TxRegKey key;
    LONG lResult = RegOpenKeyExA(hRoot, pszKey, 0, KEY_QUERY_VALUE, key.Receive());
    if (lResult != ERROR_SUCCESS)
        return RegistryResult(lResult);
    DWORD dwSubkeys = 0;
    DWORD dwValues = 0;
    if (RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &dwSubkeys, nullptr, nullptr,
                         &dwValues, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return RemoveResult::Failed;
    if (dwSubkeys != 0 || dwValues != 0)
        return RemoveResult::NotEmpty;
    key.Reset();
    return RegistryResult(RegDeleteKeyA(hRoot, pszKey));
}

RemoveResult RemoveRegistryTree(HKEY hRoot, const char* pszKey)
{
    return RegistryResult(RegDeleteTreeA(hRoot, pszKey));
}

bool ScheduleRemovalAtRestart(const char* pszPath)
{
    return MoveFileExA(pszPath, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
}
