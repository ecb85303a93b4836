#include "TxSafeFile.h"

#include "TxSystemLibrary.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

// The calls older systems lack, looked up once, and what stands in for them:
//   SetFileInformationByHandle (Vista)  -> NtSetInformationFile, the call it wraps
//   GetFinalPathNameByHandleW (Vista)   -> NtQueryObject (ObjectNameInformation),
//                                          the same NT form of the path
// Renames always go through NtSetInformationFile (FileRenameInformation, the
// class SetFileInformationByHandle's FileRenameInfo stands for): Wine's
// SetFileInformationByHandle turns a name given relative to the folder
// handle into a full path from the current folder. Where ntdll lacks these
// too (no Windows NT), the operation fails with ERROR_CALL_NOT_IMPLEMENTED.

namespace
{
using SetFileInformationByHandleProc = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);
using GetFinalPathNameByHandleWProc = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
using NtSetInformationFileProc = LONG(NTAPI*)(HANDLE, void*, void*, ULONG, int);
using NtQueryObjectProc = LONG(NTAPI*)(HANDLE, int, void*, ULONG, ULONG*);
using RtlNtStatusToDosErrorProc = ULONG(NTAPI*)(LONG);

// Information classes: kernel32's and the native ones they stand for.
constexpr int BASIC_INFO = 0, NT_BASIC_INFO = 4;
constexpr int DISPOSITION_INFO = 4, NT_DISPOSITION_INFO = 13;
constexpr int NT_RENAME_INFO = 10;
constexpr int NT_OBJECT_NAME_INFO = 1;
constexpr DWORD FINAL_PATH_NT = 0x2; // VOLUME_NAME_NT

// IO_STATUS_BLOCK and UNICODE_STRING, which the headers give only with the
// driver kit's.
struct IoStatus
{
    ULONG_PTR uStatus;
    ULONG_PTR uInformation;
};
struct NtName
{
    USHORT cbLength;
    USHORT cbMaximum;
    WCHAR* pszBuffer;
};
struct RenameInfo
{
    BOOLEAN bReplaceIfExists;
    HANDLE hRootDirectory;
    ULONG cbFileName;
    WCHAR szFileName[1];
};

struct Api
{
    SetFileInformationByHandleProc pfnSetInformation = nullptr;
    GetFinalPathNameByHandleWProc pfnFinalPath = nullptr;
    NtSetInformationFileProc pfnNtSetInformation = nullptr;
    NtQueryObjectProc pfnNtQueryObject = nullptr;
    RtlNtStatusToDosErrorProc pfnStatusToError = nullptr;
};

const Api& System()
{
    static const Api s_Api = []
    {
        HMODULE hKernel = GetModuleHandleA("kernel32.dll");
        HMODULE hNt = GetModuleHandleA("ntdll.dll");
        Api api;
        api.pfnSetInformation =
            ModuleFunction<SetFileInformationByHandleProc>(hKernel, "SetFileInformationByHandle");
        api.pfnFinalPath =
            ModuleFunction<GetFinalPathNameByHandleWProc>(hKernel, "GetFinalPathNameByHandleW");
        api.pfnNtSetInformation =
            ModuleFunction<NtSetInformationFileProc>(hNt, "NtSetInformationFile");
        api.pfnNtQueryObject = ModuleFunction<NtQueryObjectProc>(hNt, "NtQueryObject");
        api.pfnStatusToError =
            ModuleFunction<RtlNtStatusToDosErrorProc>(hNt, "RtlNtStatusToDosError");
        return api;
    }();
    return s_Api;
}

bool g_bFallbacks = false;

bool Fail(DWORD dwError)
{
    SetLastError(dwError);
    return false;
}

// A native status as the last error; true when it is a success.
bool TakeStatus(LONG lStatus)
{
    if (lStatus >= 0)
        return true;
    RtlNtStatusToDosErrorProc pfn = System().pfnStatusToError;
    return Fail(pfn != nullptr ? pfn(lStatus) : ERROR_GEN_FAILURE);
}

bool NtSetInformation(HANDLE h, void* pInfo, ULONG cbInfo, int iNtClass)
{
    NtSetInformationFileProc pfn = System().pfnNtSetInformation;
    if (pfn == nullptr)
        return Fail(ERROR_CALL_NOT_IMPLEMENTED);
    IoStatus io = {};
    return TakeStatus(pfn(h, &io, pInfo, cbInfo, iNtClass));
}

bool SetInformation(HANDLE h, int iClass, int iNtClass, void* pInfo, DWORD cbInfo)
{
    SetFileInformationByHandleProc pfn = System().pfnSetInformation;
    if (pfn != nullptr && !g_bFallbacks)
        return pfn(h, iClass, pInfo, cbInfo) != FALSE;
    return NtSetInformation(h, pInfo, cbInfo, iNtClass);
}

void Upper(std::vector<WCHAR>& text)
{
    if (!text.empty())
        CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
}

// The path of the entry as the system resolved it, in its NT form
// (\Device\HarddiskVolume1\...) and in upper case: for comparisons only.
bool FinalPath(HANDLE h, std::vector<WCHAR>& path)
{
    const Api& api = System();
    if (api.pfnFinalPath != nullptr && !g_bFallbacks)
    {
        path.assign(MAX_PATH, 0);
        DWORD n = api.pfnFinalPath(h, path.data(), static_cast<DWORD>(path.size()), FINAL_PATH_NT);
        if (n >= path.size())
        {
            path.assign(n + 1, 0);
            n = api.pfnFinalPath(h, path.data(), static_cast<DWORD>(path.size()), FINAL_PATH_NT);
        }
        if (n == 0 || n >= path.size())
            return n == 0 ? false : Fail(ERROR_INSUFFICIENT_BUFFER);
        path.resize(n);
        Upper(path);
        return true;
    }
    if (api.pfnNtQueryObject == nullptr)
        return Fail(ERROR_CALL_NOT_IMPLEMENTED);
    // The name and its buffer; a name is at most 65,535 bytes long.
    std::vector<ULONG_PTR> buffer((sizeof(NtName) + 65536) / sizeof(ULONG_PTR) + 1);
    ULONG cbNeeded = 0;
    if (!TakeStatus(api.pfnNtQueryObject(h, NT_OBJECT_NAME_INFO, buffer.data(),
                                         static_cast<ULONG>(buffer.size() * sizeof(ULONG_PTR)),
                                         &cbNeeded)))
        return false;
    const NtName* pName = reinterpret_cast<const NtName*>(buffer.data());
    path.assign(pName->pszBuffer, pName->pszBuffer + pName->cbLength / sizeof(WCHAR));
    Upper(path);
    return true;
}

bool Wide(const char* pszText, size_t cch, std::vector<WCHAR>& wide)
{
    wide.clear();
    if (cch == 0)
        return true;
    int n = MultiByteToWideChar(CP_ACP, 0, pszText, static_cast<int>(cch), nullptr, 0);
    if (n <= 0)
        return false;
    wide.assign(static_cast<size_t>(n), 0);
    return MultiByteToWideChar(CP_ACP, 0, pszText, static_cast<int>(cch), wide.data(), n) == n;
}

bool IsSeparator(char ch)
{
    return ch == '\\' || ch == '/';
}

// NO_ERROR when the final path of hEntry is that of the folder pszPath names
// followed by the name it ends in.
DWORD CheckNamedAsGiven(HANDLE hEntry, const char* pszPath)
{
    size_t cchPath = std::strlen(pszPath);
    while (cchPath > 0 && IsSeparator(pszPath[cchPath - 1]))
        --cchPath;
    size_t cchFolder = cchPath;
    while (cchFolder > 0 && !IsSeparator(pszPath[cchFolder - 1]))
        --cchFolder;
    // A drive root ("C:\", not "C:", the drive's current folder) has
    // nothing above it and is no link.
    if (cchPath == 2 && pszPath[1] == ':' && IsSeparator(pszPath[2]))
        return NO_ERROR;
    if (cchFolder == 0 || cchFolder == cchPath)
        return ERROR_INVALID_NAME;
    // "C:\name" has the folder "C:\"; "D:\Games\name" the folder "D:\Games".
    std::vector<char> folder(pszPath, pszPath + cchFolder);
    if (cchFolder < 2 || folder[cchFolder - 2] != ':')
        folder.back() = 0;
    else
        folder.push_back(0);
    // The folder is followed where it leads: only the entry itself counts.
    TxFileHandle hFolder(CreateFileA(folder.data(), FILE_READ_ATTRIBUTES, TX_SHARE_ALL, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    std::vector<WCHAR> expected, actual, name;
    if (!hFolder.IsValid() || !FinalPath(hFolder.Get(), expected) || !FinalPath(hEntry, actual))
        return GetLastError();
    if (!Wide(pszPath + cchFolder, cchPath - cchFolder, name))
        return ERROR_INVALID_NAME;
    Upper(name);
    if (expected.empty() || expected.back() != L'\\')
        expected.push_back(L'\\');
    expected.insert(expected.end(), name.begin(), name.end());
    return expected == actual ? NO_ERROR : TX_ERROR_LINK;
}

TxFileHandle Refuse(DWORD dwError)
{
    SetLastError(dwError);
    return TxFileHandle();
}
} // namespace

TxFileHandle TxOpenEntry(const char* pszPath, TxEntryKind kind, DWORD dwAccess, DWORD dwShare)
{
    // Backup semantics for both kinds, so that a folder found where a file
    // was expected is reported as such.
    TxFileHandle hEntry(
        CreateFileA(pszPath, dwAccess | FILE_READ_ATTRIBUTES, dwShare, nullptr, OPEN_EXISTING,
                    FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!hEntry.IsValid())
        return hEntry;
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(hEntry.Get(), &info))
        return Refuse(GetLastError());
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return Refuse(TX_ERROR_LINK);
    bool bFolder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (bFolder != (kind == TX_ENTRY_FOLDER))
        return Refuse(ERROR_DIRECTORY);
    DWORD dwError = CheckNamedAsGiven(hEntry.Get(), pszPath);
    if (dwError != NO_ERROR)
        return Refuse(dwError);
    return hEntry;
}

TxFileHandle TxOpenLinkItself(const char* pszPath, DWORD dwAccess)
{
    TxFileHandle hLink(
        CreateFileA(pszPath, dwAccess | FILE_READ_ATTRIBUTES, TX_SHARE_ALL, nullptr, OPEN_EXISTING,
                    FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!hLink.IsValid())
        return hLink;
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(hLink.Get(), &info))
        return Refuse(GetLastError());
    DWORD dwError = CheckNamedAsGiven(hLink.Get(), pszPath);
    if (dwError != NO_ERROR)
        return Refuse(dwError);
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        return Refuse(ERROR_NOT_A_REPARSE_POINT);
    return hLink;
}

TxFileHandle TxCreateNewFile(const char* pszPath, DWORD dwAccess, DWORD dwShare, DWORD dwAttributes)
{
    return TxFileHandle(CreateFileA(pszPath, dwAccess, dwShare, nullptr, CREATE_NEW,
                                    dwAttributes | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

bool TxHasOtherNames(HANDLE hFile)
{
    BY_HANDLE_FILE_INFORMATION info;
    return !GetFileInformationByHandle(hFile, &info) || info.nNumberOfLinks > 1;
}

bool TxSetEntryAttributes(HANDLE hEntry, DWORD dwAttributes)
{
    FILE_BASIC_INFO info = {};
    // Zero times stay as they are; zero attributes would too.
    info.FileAttributes = dwAttributes != 0 ? dwAttributes : FILE_ATTRIBUTE_NORMAL;
    return SetInformation(hEntry, BASIC_INFO, NT_BASIC_INFO, &info, sizeof(info));
}

bool TxDeleteEntry(HANDLE hEntry)
{
    FILE_DISPOSITION_INFO info = {TRUE};
    if (SetInformation(hEntry, DISPOSITION_INFO, NT_DISPOSITION_INFO, &info, sizeof(info)))
        return true;
    DWORD dwError = GetLastError();
    BY_HANDLE_FILE_INFORMATION entry;
    if (dwError != ERROR_ACCESS_DENIED || !GetFileInformationByHandle(hEntry, &entry) ||
        (entry.dwFileAttributes & FILE_ATTRIBUTE_READONLY) == 0)
        return Fail(dwError);
    return TxSetEntryAttributes(hEntry, entry.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY) &&
           SetInformation(hEntry, DISPOSITION_INFO, NT_DISPOSITION_INFO, &info, sizeof(info));
}

bool TxMoveEntry(HANDLE hEntry, HANDLE hFolder, const char* pszName)
{
    size_t cchName = std::strlen(pszName);
    std::vector<WCHAR> name;
    if (cchName == 0 || std::strpbrk(pszName, "\\/:") != nullptr || !Wide(pszName, cchName, name))
        return Fail(ERROR_INVALID_NAME);
    size_t cbInfo = offsetof(RenameInfo, szFileName) + (name.size() + 1) * sizeof(WCHAR);
    std::vector<ULONG_PTR> buffer(cbInfo / sizeof(ULONG_PTR) + 1, 0);
    RenameInfo* pInfo = reinterpret_cast<RenameInfo*>(buffer.data());
    pInfo->bReplaceIfExists = FALSE;
    pInfo->hRootDirectory = hFolder;
    pInfo->cbFileName = static_cast<ULONG>(name.size() * sizeof(WCHAR));
    std::memcpy(pInfo->szFileName, name.data(), name.size() * sizeof(WCHAR));
    return NtSetInformation(hEntry, pInfo, static_cast<ULONG>(cbInfo), NT_RENAME_INFO);
}

bool TxGetEntryId(HANDLE hEntry, TxEntryId& id)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(hEntry, &info))
        return false;
    id.dwVolume = info.dwVolumeSerialNumber;
    id.dwIndexHigh = info.nFileIndexHigh;
    id.dwIndexLow = info.nFileIndexLow;
    return true;
}

bool TxIsInsideFolder(HANDLE hFolder, HANDLE hEntry)
{
    std::vector<WCHAR> folder, entry;
    if (!FinalPath(hFolder, folder) || !FinalPath(hEntry, entry))
        return false;
    if (folder.empty() || folder.back() != L'\\')
        folder.push_back(L'\\');
    return entry.size() > folder.size() && std::equal(folder.begin(), folder.end(), entry.begin());
}

void TxSafeFileUseFallbacks(bool bFallbacks)
{
    g_bFallbacks = bFallbacks;
}
