#pragma once

#include "TxSafeFile.h"
#include "TxString.h"

#include <vector>
#include <windows.h>

enum class RemoveResult
{
    Removed,
    NotFound,
    NotEmpty, // a folder that still holds something
    Refused,  // a link, or not inside the folder it must lie in
    Failed
};

// The program and image folders, held open for the whole run: while a handle
// without FILE_SHARE_DELETE is on a folder, it cannot be renamed away and a
// link put in its place; what is removed in it is checked against it by its
// final path.
class HeldFolders
{
public:
    // Opens the folder, refusing a link; a folder that cannot be opened is
    // remembered with the reason.
    void Hold(const TxString& sFolder);
    // The handle held on sFolder; null, with the last error set (a missing
    // folder, TX_ERROR_LINK), when there is none.
    HANDLE Find(const TxString& sFolder) const;
    // Lets go of sFolder so that it can be removed itself; false when it was
    // not held. id is the entry the handle was on.
    bool Release(const TxString& sFolder, TxEntryId& id);
    void ReleaseAll() { m_Folders.clear(); }

private:
    struct Held
    {
        TxString sFolder;
        TxFileHandle hFolder;
        DWORD dwError;
    };
    const Held* Lookup(const TxString& sFolder) const;

    std::vector<Held> m_Folders;
};

// Removals through a handle on the entry itself, opened without following a
// link: a junction or symbolic link is refused (left in place, never
// followed), and so is an entry that does not lie inside hRoot by its final
// path when hRoot is given. An entry of the other kind counts as NotFound.

// Deletes a file, read-only ones included.
RemoveResult RemoveFileItem(const char* pszPath, HANDLE hRoot);
// Removes a folder only when it is empty.
RemoveResult RemoveFolderItem(const char* pszPath, HANDLE hRoot);
// Removes a held folder after its release: only while the entry at pszPath
// is still the one that was held, and only when it is empty.
RemoveResult RemoveReleasedFolder(const char* pszPath, const TxEntryId& id);
// Whether the entry at pszPath may be left to the restart: it is no link and
// lies inside hRoot (when given), or is the released folder of id (when
// given). Removed means yes.
RemoveResult CheckItem(const char* pszPath, bool bFolder, HANDLE hRoot, const TxEntryId* pId);

RemoveResult RemoveRegistryValue(HKEY hRoot, const char* pszKey, const char* pszValue);
// Removes a key that has no subkeys.
RemoveResult RemoveRegistryKey(HKEY hRoot, const char* pszKey);
// Removes a key only when it holds neither values nor subkeys (NotEmpty else).
RemoveResult RemoveEmptyRegistryKey(HKEY hRoot, const char* pszKey);
// Removes a key with all its values and subkeys.
RemoveResult RemoveRegistryTree(HKEY hRoot, const char* pszKey);
// Lets Windows delete a file, or an empty folder, when it next starts
// (needs the right to write HKLM, as the setup does). By path: check the
// entry with CheckItem first.
bool ScheduleRemovalAtRestart(const char* pszPath);
