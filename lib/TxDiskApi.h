#pragma once

#include "TxString.h"

#include <windows.h>
// winbase.h still carries a 16-bit GetFreeSpace macro that would hide ours.
#ifdef GetFreeSpace
#undef GetFreeSpace
#endif

// Byte counts of one volume, filled by GetFreeSpace.
struct DiskSpace
{
    unsigned long long TotalBytes;
    unsigned long long FreeBytesToCaller;
    unsigned long long TotalFreeBytes;
};

// None of these throws; failures come back as false.
bool GetFreeSpace(const char* pszRoot, DiskSpace* pSpace);
bool DirectoryExists(const char* pszPath);
bool FileExists(const char* pszPath);
// Creates the folder and its missing parents; slashes count as backslashes
// and trailing separators name the same folder. Every level it makes gets
// psa's security (null: inherited from the folder above).
bool ForceDirectories(const char* pszPath, const SECURITY_ATTRIBUTES* psa = nullptr);
// The folder as ForceDirectories works on it: backslashes only, without
// trailing separators ("C:\Games/" gives "C:\Games", "C:\" gives "C:").
TxString PlainFolderPath(const char* pszPath);
// True for a path that names its place without the current folder: a drive
// letter and ":" alone or before a separator ("C:", "C:\Games"), or
// "\\server\share"; slashes count as backslashes. "..\Games", "\Games" and
// "C:Games" depend on the current folder.
bool IsFullPath(const char* pszPath);
// Probes whether a folder (or a file) may be created in the nearest existing
// folder of pszPath, removing whatever the probe created.
bool TestFolderCreation(const char* pszPath);
bool TestFileCreation(const char* pszPath);
