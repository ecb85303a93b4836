#pragma once

#include <windows.h>

// What this run replaced, kept so that a rollback leaves an earlier
// installation as it was. A replaced file is moved into a hidden backup
// folder beside it (same folder, so the move is a rename on the same volume),
// a changed registry value is kept as its old type and data or as absent.
// Nothing is kept on a machine without an earlier installation.

constexpr char BACKUP_FOLDER_PREFIX[] = "~QvBackup.";

// Moves pszPath aside before it is replaced. True when there was nothing to
// keep or it is kept; false (last error set) when it could not be kept and
// so must not be replaced.
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

// How many files are kept at the moment.
int KeptFileCount();
