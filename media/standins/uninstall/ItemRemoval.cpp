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

RemoveResult RegistryResult(LONG lResult)
{
    if (lResult == ERROR_SUCCESS)
        return RemoveResult::Removed;
    return IsMissingError(static_cast<DWORD>(lResult)) ? RemoveResult::NotFound
                                                       : RemoveResult::Failed;
}
} // namespace

RemoveResult RemoveFileItem(const char* pszPath)
{
    DWORD dwAttributes = GetFileAttributesA(pszPath);
    if (dwAttributes == INVALID_FILE_ATTRIBUTES)
        return IsMissingError(GetLastError()) ? RemoveResult::NotFound : RemoveResult::Failed;
    if (dwAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return RemoveResult::NotFound;
    // A symbolic link goes as the link; its attributes would be the target's.
    if (dwAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return DeleteFileA(pszPath) ? RemoveResult::Removed : RemoveResult::Failed;
    bool bReadOnly = (dwAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (bReadOnly && !SetFileAttributesA(pszPath, dwAttributes & ~FILE_ATTRIBUTE_READONLY))
        return RemoveResult::Failed;
    if (DeleteFileA(pszPath))
        return RemoveResult::Removed;
    DWORD dwError = GetLastError();
    if (bReadOnly)
        SetFileAttributesA(pszPath, dwAttributes);
    return IsMissingError(dwError) ? RemoveResult::NotFound : RemoveResult::Failed;
}

RemoveResult RemoveFolderItem(const char* pszPath)
{
    DWORD dwAttributes = GetFileAttributesA(pszPath);
    if (dwAttributes == INVALID_FILE_ATTRIBUTES)
        return IsMissingError(GetLastError()) ? RemoveResult::NotFound : RemoveResult::Failed;
    if (!(dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return RemoveResult::NotFound;
    // A junction or folder link goes as the link, whatever its target holds;
    // nothing here looks through it.
    if (dwAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return RemoveDirectoryA(pszPath) ? RemoveResult::Removed : RemoveResult::Failed;
    if (RemoveDirectoryA(pszPath))
        return RemoveResult::Removed;
    DWORD dwError = GetLastError();
    if (dwError == ERROR_DIR_NOT_EMPTY)
        return RemoveResult::NotEmpty;
    // A 32-bit program on 64-bit Windows cannot remove the folder it was
    // started from while it still holds files (the running uninstaller among
    // them): the system answers with a sharing violation instead of "not
    // empty". Treat it as what it is, so the folder can go at the restart.
    if (dwError == ERROR_SHARING_VIOLATION && HasEntries(pszPath))
        return RemoveResult::NotEmpty;
    return IsMissingError(dwError) ? RemoveResult::NotFound : RemoveResult::Failed;
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
