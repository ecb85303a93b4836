#include "TxDiskApi.h"

#include "CLog.h"
#include "TxFaultInjection.h"
#include "TxHandles.h"
#include "TxRandomName.h"
#include "TxSafeFile.h"

#include <cstring>

namespace
{
using GetDiskFreeSpaceExAProc = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER,
                                              PULARGE_INTEGER);

// Looks the path up without following it; true if an entry was found.
bool FindEntry(const char* pszPath, WIN32_FIND_DATAA& data)
{
    data = WIN32_FIND_DATAA();
    TxFindHandle hFind(FindFirstFileA(pszPath, &data));
    return hFind.IsValid();
}

TxString WithBackslashes(const char* pszPath)
{
    TxString s(pszPath);
    s.ReplaceChar('/', '\\');
    return s;
}

// Shared climb of the two probes: probe in the nearest existing ancestor.
template <class Probe> bool ClimbAndProbe(const TxString& sPath, Probe probe)
{
    if (DirectoryExists(sPath.GetText()))
        return probe(sPath);
    int p = sPath.Find("\\", false, true, 1);
    if (p < 3)
        return false;
    TxString sParent;
    sPath.SubString(1, p - 1, sParent);
    return ClimbAndProbe(sParent, probe);
}

TxString ProbePath(const TxString& sFolder, const char* pszName)
{
    TxString s(sFolder);
    s.AddBackslash();
    s.Append(pszName);
    return s;
}

// The probes create their entries new and remove them through their own
// handles, so that an entry standing under a probe's name is never opened,
// written or deleted: it only makes the probe take a name of its own.
bool NameTaken()
{
    DWORD dwError = GetLastError();
    return dwError == ERROR_ALREADY_EXISTS || dwError == ERROR_FILE_EXISTS;
}

TxString OwnProbePath(const TxString& sFolder, const char* pszName, const char* pszExtension)
{
    TxString sName(pszName);
    sName.Append(".");
    return ProbePath(sFolder, TxRandomName(sName.GetText(), pszExtension).GetText());
}

bool ProbeFolder(const TxString& sFolder)
{
    TxString sTest = ProbePath(sFolder, "t_e_s_t");
    bool bCreated = CreateDirectoryA(sTest.GetText(), nullptr) != FALSE;
    if (!bCreated && NameTaken())
    {
        TX_LOG("Cannot test folder creation - already exists: %s", sTest.GetText());
        sTest = OwnProbePath(sFolder, "t_e_s_t", "");
        bCreated = CreateDirectoryA(sTest.GetText(), nullptr) != FALSE;
    }
    if (bCreated)
    {
        // Whatever took the new folder's place since is left alone.
        TxFileHandle hTest =
            TxOpenEntry(sTest.GetText(), TX_ENTRY_FOLDER, TX_ACCESS_REMOVE, TX_SHARE_ALL);
        if (!hTest.IsValid() || !TxDeleteEntry(hTest.Get()))
            TX_LOG("TestFolderCreation - removing the probe failed: path=%s, error=%lu",
                   sTest.GetText(), GetLastError());
    }
    TX_LOG("Tested dir creation: %s : %s", sTest.GetText(), bCreated ? "OK" : "failed!");
    return bCreated;
}

bool ProbeFile(const TxString& sFolder)
{
    const DWORD dwAccess = GENERIC_READ | GENERIC_WRITE | DELETE;
    TxString sTest = ProbePath(sFolder, "t_e_s_t.txt");
    TxFileHandle hFile = TxCreateNewFile(sTest.GetText(), dwAccess, 0);
    if (!hFile.IsValid() && NameTaken())
    {
        TX_LOG("Cannot test file creation - already exists: %s", sTest.GetText());
        sTest = OwnProbePath(sFolder, "t_e_s_t", ".txt");
        hFile = TxCreateNewFile(sTest.GetText(), dwAccess, 0);
    }
    bool bCreated = hFile.IsValid();
    TX_LOG("Tested file creation: %s : %s", sTest.GetText(), bCreated ? "OK" : "failed!");
    if (bCreated && !TxDeleteEntry(hFile.Get()))
        TX_LOG("TestFileCreation - removing the probe failed: path=%s, error=%lu", sTest.GetText(),
               GetLastError());
    return bCreated;
}
} // namespace

bool GetFreeSpace(const char* pszRoot, DiskSpace* pSpace)
{
    if (pSpace == nullptr)
        return false;
    HMODULE hKernel = GetModuleHandleA("kernel32.dll");
    auto pfnGetDiskFreeSpaceEx =
        hKernel != nullptr ? reinterpret_cast<GetDiskFreeSpaceExAProc>(reinterpret_cast<void*>(
                                 GetProcAddress(hKernel, "GetDiskFreeSpaceExA")))
                           : nullptr;
    if (pfnGetDiskFreeSpaceEx != nullptr)
    {
        ULARGE_INTEGER caller = {}, total = {}, free = {};
        BOOL bOk = pfnGetDiskFreeSpaceEx(pszRoot, &caller, &total, &free);
        pSpace->FreeBytesToCaller = caller.QuadPart;
        pSpace->TotalBytes = total.QuadPart;
        pSpace->TotalFreeBytes = free.QuadPart;
        return bOk == TRUE;
    }
    DWORD dwSectors = 0, dwBytes = 0, dwFree = 0, dwTotal = 0;
    BOOL bOk = GetDiskFreeSpaceA(pszRoot, &dwSectors, &dwBytes, &dwFree, &dwTotal);
    unsigned long long qwCluster = static_cast<unsigned long long>(dwSectors) * dwBytes;
    pSpace->FreeBytesToCaller = qwCluster * dwFree;
    pSpace->TotalFreeBytes = qwCluster * dwFree;
    pSpace->TotalBytes = qwCluster * dwTotal;
    return bOk == TRUE;
}

bool DirectoryExists(const char* pszPath)
{
    TxString s(pszPath);
    s.RemoveBackslash();
    // A drive root has no directory entry of its own to find.
    if (s.Length() == 2 && *s.CharAt(2) == ':')
    {
        s.Append("\\");
        DWORD dwAttributes = GetFileAttributesA(s.GetText());
        return dwAttributes != INVALID_FILE_ATTRIBUTES &&
               (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }
    WIN32_FIND_DATAA data;
    return FindEntry(s.GetText(), data) && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FileExists(const char* pszPath)
{
    WIN32_FIND_DATAA data;
    return FindEntry(TxString(pszPath).GetText(), data) &&
           (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

TxString PlainFolderPath(const char* pszPath)
{
    TxString s = WithBackslashes(pszPath);
    while (!s.IsEmpty() && *s.CharAt(s.Length()) == '\\')
        s.RemoveBackslash();
    return s;
}

bool IsFullPath(const char* pszPath)
{
    TxString s = WithBackslashes(pszPath);
    const char* p = s.GetText();
    bool bLetter = (p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z');
    if (bLetter && p[1] == ':')
        return p[2] == 0 || p[2] == '\\';
    if (p[0] != '\\' || p[1] != '\\')
        return false;
    // \\server\share: two names that are not empty.
    const char* pServer = p + 2;
    const char* pShare = strchr(pServer, '\\');
    return pShare != nullptr && pShare > pServer && pShare[1] != 0 && pShare[1] != '\\';
}

bool ForceDirectories(const char* pszPath, const SECURITY_ATTRIBUTES* psa)
{
    // Without the separators the last step creates the folder itself, not
    // the same folder a second time.
    TxString s = PlainFolderPath(pszPath);
    if (s.IsEmpty())
        return false;
    if (DirectoryExists(s.GetText()))
        return true;
    int p = s.Find("\\", false, true, 1);
    if (p > 3)
    {
        TxString sParent;
        s.SubString(1, p - 1, sParent);
        if (!ForceDirectories(sParent.GetText(), psa))
            return false;
    }
    if (TX_FAULT(TXFAULT_FOLDER))
        return false;
    return CreateDirectoryA(s.GetText(), const_cast<SECURITY_ATTRIBUTES*>(psa)) != FALSE;
}

bool TestFolderCreation(const char* pszPath)
{
    return ClimbAndProbe(WithBackslashes(pszPath), ProbeFolder);
}

bool TestFileCreation(const char* pszPath)
{
    return ClimbAndProbe(WithBackslashes(pszPath), ProbeFile);
}
