#pragma once

#include "TxHandles.h"

#include <windows.h>

// File operations for a program that runs with more rights than the users who
// may write where it works. None of them follows a link (junction, symbolic
// link, mount point) at the entry it acts on, and every change goes through a
// handle on the entry itself, so that an entry swapped in between a check and
// its use is never touched. Calls that older systems lack are looked up at
// run time and replaced by the native call they stand on, never by a call by
// path (TxSafeFile.cpp lists them). Nothing here logs or throws: failures
// come back as false or an invalid handle, with the last error set.

// The last error of an entry refused as a link: the system's own code for a
// reparse point it does not follow.
constexpr DWORD TX_ERROR_LINK = ERROR_CANT_ACCESS_FILE;

// Access for an entry that is to be moved or deleted through its handle.
constexpr DWORD TX_ACCESS_REMOVE = DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES;
// Sharing that lets others read and write but keeps the entry from being
// renamed or deleted while the handle is held.
constexpr DWORD TX_SHARE_NO_DELETE = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr DWORD TX_SHARE_ALL = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

enum TxEntryKind
{
    TX_ENTRY_FILE,
    TX_ENTRY_FOLDER,
};

// Opens the existing entry at pszPath, a full path, as it stands. Refused
// with TX_ERROR_LINK: a reparse point, and an entry whose final path is not
// that of its folder followed by the name given (a link the system followed
// anyway, as Wine does with Unix links; also a name in 8.3 form). Refused
// with ERROR_DIRECTORY: an entry of the other kind.
TxFileHandle TxOpenEntry(const char* pszPath, TxEntryKind kind, DWORD dwAccess, DWORD dwShare);

// Opens the link (reparse point) at pszPath itself, never what it leads to,
// so that it can be moved or deleted. Refused with ERROR_NOT_A_REPARSE_POINT
// when the entry is no link, and with TX_ERROR_LINK when the system gives
// the link's target instead (Wine does so with Unix links).
TxFileHandle TxOpenLinkItself(const char* pszPath, DWORD dwAccess);

// Creates a file that was not there (CREATE_NEW): fails with
// ERROR_FILE_EXISTS when any entry stands under the name, a link whose
// target is missing included, so that nothing is written through a link.
TxFileHandle TxCreateNewFile(const char* pszPath, DWORD dwAccess, DWORD dwShare,
                             DWORD dwAttributes = FILE_ATTRIBUTE_NORMAL);

// The file has further names (hard links): writing to it would change the
// file under those names too. True also when the system cannot say.
bool TxHasOtherNames(HANDLE hFile);

// Deletes the entry of hEntry (opened with TX_ACCESS_REMOVE): a read-only
// file has the attribute cleared first, a folder goes only when empty. The
// name goes when the last handle on the entry is closed.
bool TxDeleteEntry(HANDLE hEntry);

// Moves the entry of hEntry (opened with TX_ACCESS_REMOVE) to pszName in the
// folder of hFolder, on the same volume. Never replaces an entry of that name
// (ERROR_ALREADY_EXISTS). The folder is reached through its handle, not its
// path.
bool TxMoveEntry(HANDLE hEntry, HANDLE hFolder, const char* pszName);

// Sets the attributes of the entry of hEntry (opened with FILE_WRITE_ATTRIBUTES).
bool TxSetEntryAttributes(HANDLE hEntry, DWORD dwAttributes);

// Which entry a handle is on: its volume and file index.
struct TxEntryId
{
    DWORD dwVolume;
    DWORD dwIndexHigh;
    DWORD dwIndexLow;

    bool operator==(const TxEntryId& other) const
    {
        return dwVolume == other.dwVolume && dwIndexHigh == other.dwIndexHigh &&
               dwIndexLow == other.dwIndexLow;
    }
};
bool TxGetEntryId(HANDLE hEntry, TxEntryId& id);

// The entry of hEntry lies inside the folder of hFolder, at any depth, by
// their final paths.
bool TxIsInsideFolder(HANDLE hFolder, HANDLE hEntry);

// Tests take the route of the systems that lack the newer calls.
void TxSafeFileUseFallbacks(bool bFallbacks);
