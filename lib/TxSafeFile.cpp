#include "TxSafeFile.h"

#include "TxSystemLibrary.h"

#include <cstddef>
#include <cstring>

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

// A wide text in the process heap: no exceptions; a failed growth makes the
// operation fail with ERROR_NOT_ENOUGH_MEMORY.
class WideText
{
public:
    WideText() = default;
    ~WideText()
    {
        if (m_p != nullptr)
            HeapFree(GetProcessHeap(), 0, m_p);
    }
    WideText(const WideText&) = delete;
    WideText& operator=(const WideText&) = delete;

    // Room for cch characters.
    bool Reserve(size_t cch)
    {
        if (cch <= m_cchRoom)
            return true;
        void* p = m_p != nullptr ? HeapReAlloc(GetProcessHeap(), 0, m_p, cch * sizeof(WCHAR))
                                 : HeapAlloc(GetProcessHeap(), 0, cch * sizeof(WCHAR));
        if (p == nullptr)
            return Fail(ERROR_NOT_ENOUGH_MEMORY);
        m_p = static_cast<WCHAR*>(p);
        m_cchRoom = cch;
        return true;
    }
    WCHAR* Data() { return m_p; }
    size_t Room() const { return m_cchRoom; }
    size_t Length() const { return m_cch; }
    void SetLength(size_t cch) { m_cch = cch; }
    bool Append(const WCHAR* p, size_t cch)
    {
        if (!Reserve(m_cch + cch + 1))
            return false;
        std::memcpy(m_p + m_cch, p, cch * sizeof(WCHAR));
        m_cch += cch;
        m_p[m_cch] = 0;
        return true;
    }
    // Appends cch bytes of ANSI text.
    bool AppendAnsi(const char* pszText, size_t cch)
    {
        int n = cch == 0
                    ? 0
                    : MultiByteToWideChar(CP_ACP, 0, pszText, static_cast<int>(cch), nullptr, 0);
        if (cch != 0 && n <= 0)
            return Fail(ERROR_INVALID_NAME);
        if (!Reserve(m_cch + static_cast<size_t>(n) + 1))
            return false;
        MultiByteToWideChar(CP_ACP, 0, pszText, static_cast<int>(cch), m_p + m_cch, n);
        m_cch += static_cast<size_t>(n);
        m_p[m_cch] = 0;
        return true;
    }
    bool EndsWith(WCHAR ch) const { return m_cch > 0 && m_p[m_cch - 1] == ch; }
    void Upper()
    {
        if (m_cch > 0)
            CharUpperBuffW(m_p, static_cast<DWORD>(m_cch));
    }
    bool StartsWith(const WideText& other) const
    {
        return m_cch >= other.m_cch &&
               std::memcmp(m_p, other.m_p, other.m_cch * sizeof(WCHAR)) == 0;
    }
    bool IsSame(const WideText& other) const { return m_cch == other.m_cch && StartsWith(other); }

private:
    WCHAR* m_p = nullptr;
    size_t m_cch = 0;
    size_t m_cchRoom = 0;
};

// The path of the entry as the system resolved it, in its NT form
// (\Device\HarddiskVolume1\...) and in upper case: for comparisons only.
bool FinalPath(HANDLE h, WideText& path)
{
    const Api& api = System();
    if (api.pfnFinalPath != nullptr && !g_bFallbacks)
    {
        DWORD n = MAX_PATH;
        for (int i = 0; i < 2 && path.Reserve(n + 1); ++i)
        {
            n = api.pfnFinalPath(h, path.Data(), static_cast<DWORD>(path.Room()), FINAL_PATH_NT);
            if (n == 0)
                return false;
            if (n < path.Room())
            {
                path.SetLength(n);
                path.Upper();
                return true;
            }
        }
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    if (api.pfnNtQueryObject == nullptr)
        return Fail(ERROR_CALL_NOT_IMPLEMENTED);
    // The name and its buffer; a name is at most 65,535 bytes long.
    WideText buffer;
    const size_t cbBuffer = sizeof(NtName) + 65536;
    ULONG cbNeeded = 0;
    if (!buffer.Reserve(cbBuffer / sizeof(WCHAR)) ||
        !TakeStatus(api.pfnNtQueryObject(h, NT_OBJECT_NAME_INFO, buffer.Data(),
                                         static_cast<ULONG>(cbBuffer), &cbNeeded)))
        return false;
    const NtName* pName = reinterpret_cast<const NtName*>(buffer.Data());
    path.SetLength(0);
    if (!path.Append(pName->pszBuffer, pName->cbLength / sizeof(WCHAR)))
        return false;
    path.Upper();
    return true;
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
    bool bRoot = cchFolder >= 2 && pszPath[cchFolder - 2] == ':';
    WideText folder, expected, actual;
    if (!folder.AppendAnsi(pszPath, bRoot ? cchFolder : cchFolder - 1))
        return GetLastError();
    // The folder is followed where it leads: only the entry itself counts.
    TxFileHandle hFolder(CreateFileW(folder.Data(), FILE_READ_ATTRIBUTES, TX_SHARE_ALL, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!hFolder.IsValid() || !FinalPath(hFolder.Get(), expected) || !FinalPath(hEntry, actual))
        return GetLastError();
    if (!expected.EndsWith(L'\\') && !expected.Append(L"\\", 1))
        return GetLastError();
    if (!expected.AppendAnsi(pszPath + cchFolder, cchPath - cchFolder))
        return GetLastError();
    expected.Upper();
    return expected.IsSame(actual) ? NO_ERROR : TX_ERROR_LINK;
}

TxFileHandle Refuse(DWORD dwError)
{
    SetLastError(dwError);
    return TxFileHandle();
}

// Opens what stands at pszPath itself, a link included, file or folder, and
// reads its attributes; on failure the handle is invalid and the error set.
TxFileHandle OpenUnfollowed(const char* pszPath, DWORD dwAccess, DWORD dwShare,
                            BY_HANDLE_FILE_INFORMATION& info)
{
    // Backup semantics, so that a folder found where a file was expected is
    // reported as such.
    TxFileHandle hEntry(
        CreateFileA(pszPath, dwAccess | FILE_READ_ATTRIBUTES, dwShare, nullptr, OPEN_EXISTING,
                    FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (hEntry.IsValid() && !GetFileInformationByHandle(hEntry.Get(), &info))
        return Refuse(GetLastError());
    return hEntry;
}
} // namespace

TxFileHandle TxOpenEntry(const char* pszPath, TxEntryKind kind, DWORD dwAccess, DWORD dwShare)
{
    BY_HANDLE_FILE_INFORMATION info;
    TxFileHandle hEntry = OpenUnfollowed(pszPath, dwAccess, dwShare, info);
    if (!hEntry.IsValid())
        return hEntry;
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
    BY_HANDLE_FILE_INFORMATION info;
    TxFileHandle hLink = OpenUnfollowed(pszPath, dwAccess, TX_SHARE_ALL, info);
    if (!hLink.IsValid())
        return hLink;
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
    WideText name;
    if (*pszName == 0 || std::strpbrk(pszName, "\\/:") != nullptr ||
        !name.AppendAnsi(pszName, std::strlen(pszName)))
        return Fail(ERROR_INVALID_NAME);
    size_t cbInfo = offsetof(RenameInfo, szFileName) + (name.Length() + 1) * sizeof(WCHAR);
    WideText buffer;
    if (!buffer.Reserve(cbInfo / sizeof(WCHAR) + 1))
        return false;
    RenameInfo* pInfo = reinterpret_cast<RenameInfo*>(buffer.Data());
    std::memset(pInfo, 0, cbInfo);
    pInfo->bReplaceIfExists = FALSE;
    pInfo->hRootDirectory = hFolder;
    pInfo->cbFileName = static_cast<ULONG>(name.Length() * sizeof(WCHAR));
    std::memcpy(pInfo->szFileName, name.Data(), name.Length() * sizeof(WCHAR));
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
    WideText folder, entry;
    if (!FinalPath(hFolder, folder) || !FinalPath(hEntry, entry))
        return false;
    if (!folder.EndsWith(L'\\') && !folder.Append(L"\\", 1))
        return false;
    return entry.Length() > folder.Length() && entry.StartsWith(folder);
}

void TxSafeFileUseFallbacks(bool bFallbacks)
{
    g_bFallbacks = bFallbacks;
}
