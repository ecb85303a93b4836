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
// Creates the folder and its missing parents; slashes count as backslashes.
bool ForceDirectories(const char* pszPath);
// Probes whether a folder (or a file) may be created in the nearest existing
// folder of pszPath, removing whatever the probe created.
bool TestFolderCreation(const char* pszPath);
bool TestFileCreation(const char* pszPath);
