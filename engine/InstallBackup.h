#pragma once

#include <windows.h>

// What this run replaced, kept so that a rollback leaves an earlier
// installation as it was. A replaced file is moved into the run's backup
// store of its folder: a hidden folder of a random name beside it (so the
// move is a rename on the same volume), for SYSTEM and the administrators
// alone, held open for the whole run and used only through handles, so that
// no other user can turn a move, restore or delete elsewhere. A changed
// registry value is kept as its old type and data or as absent. Nothing is
// kept on a machine without an earlier installation.

constexpr char BACKUP_FOLDER_PREFIX[] = "~QvBackup.";

// Clears the way for a new file at pszPath: an earlier installation's file
// is moved aside, a file this run put there before is deleted. True when
// there was nothing there or it is out of the way; false (last error set)
// when it could not be, a link standing there included, so that nothing may
// be written there.
bool KeepFile(const char* pszPath);

// Keeps a registry value's state before its first change in this run, and
// which levels of its key are missing yet.
void KeepRegistryValue(HKEY hRoot, const char* pszSubKey, const char* pszValue);

// Notes that a running agent at pszAgentPath was asked to exit, so that a
// rollback which puts its program back starts it again.
void NoteAgentClosed(const char* pszAgentPath);

// Puts every kept registry value and file back, newest first, with the
// files' attributes and times, removes the keys the run made that are empty
// again and the backup folders and, if its
// program came back, starts the agent again. Failures are logged and passed
// over. Forgets what was kept.
void RestoreKept();

// After a successful installation: deletes the backups (what cannot be
// deleted now goes at the next restart) and forgets what was kept.
void DiscardKept();

// Puts back what a setup that was killed had moved into its backup stores in
// pszFolder (recognised by their name) and removes them once empty.
void RecoverInterruptedBackups(const char* pszFolder);

// How many files are kept at the moment.
int KeptFileCount();
