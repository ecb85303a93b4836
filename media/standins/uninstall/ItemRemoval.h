#pragma once

#include <windows.h>

enum class RemoveResult
{
    Removed,
    NotFound,
    NotEmpty, // a folder that still holds something
    Failed
};

// Deletes a file, read-only ones included (the attribute is put back when the
// delete fails). A folder of that name counts as NotFound: it is not the file.
// A symbolic link is removed as the link.
RemoveResult RemoveFileItem(const char* pszPath);
// Removes a folder only when it is empty; a junction or folder link is
// removed as the link, never followed.
RemoveResult RemoveFolderItem(const char* pszPath);
RemoveResult RemoveRegistryValue(HKEY hRoot, const char* pszKey, const char* pszValue);
// Removes a key that has no subkeys.
RemoveResult RemoveRegistryKey(HKEY hRoot, const char* pszKey);
// Removes a key only when it holds neither values nor subkeys (NotEmpty else).
RemoveResult RemoveEmptyRegistryKey(HKEY hRoot, const char* pszKey);
// Removes a key with all its values and subkeys.
RemoveResult RemoveRegistryTree(HKEY hRoot, const char* pszKey);
// Lets Windows delete a file, or an empty folder, when it next starts
// (needs the right to write HKLM, as the setup does).
bool ScheduleRemovalAtRestart(const char* pszPath);
