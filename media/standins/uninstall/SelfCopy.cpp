#include "SelfCopy.h"

#include "CommandLine.h"
#include "TxRandomName.h"
#include "TxSecurity.h"

#include <cstdio>
#include <wincrypt.h>

namespace
{
constexpr DWORD ORIGINAL_END_WAIT_MS = 30000;
// Far above the uninstaller's size: a file this big is not it.
constexpr LONGLONG MAX_PROGRAM_SIZE = 64 * 1024 * 1024;
// A name that exists already means another one; this many tries at most.
constexpr int FOLDER_NAME_TRIES = 16;

struct CryptProviderTraits
{
    using Type = HCRYPTPROV;
    static Type Invalid() { return 0; }
    static void Close(Type h) { CryptReleaseContext(h, 0); }
};
struct CryptHashTraits
{
    using Type = HCRYPTHASH;
    static Type Invalid() { return 0; }
    static void Close(Type h) { CryptDestroyHash(h); }
};

std::string ParentOf(const std::string& sPath)
{
    size_t iSlash = sPath.find_last_of('\\');
    return iSlash == std::string::npos ? std::string() : sPath.substr(0, iSlash);
}

std::string NameOf(const std::string& sPath)
{
    size_t iSlash = sPath.find_last_of('\\');
    return iSlash == std::string::npos ? sPath : sPath.substr(iSlash + 1);
}

bool Sha256(const std::vector<BYTE>& bytes, std::vector<BYTE>& hash)
{
    TxUniqueResource<CryptProviderTraits> provider;
    TxUniqueResource<CryptHashTraits> hasher;
    DWORD cbHash = 32;
    hash.assign(cbHash, 0);
    return CryptAcquireContextA(provider.Receive(), nullptr, nullptr, PROV_RSA_AES,
                                CRYPT_VERIFYCONTEXT) &&
           CryptCreateHash(provider.Get(), CALG_SHA_256, 0, 0, hasher.Receive()) &&
           CryptHashData(hasher.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), 0) &&
           CryptGetHashParam(hasher.Get(), HP_HASHVAL, hash.data(), &cbHash, 0) && cbHash == 32;
}

// The whole of an open file, which must be a plain file.
bool ReadWhole(HANDLE hFile, std::vector<BYTE>& bytes)
{
    BY_HANDLE_FILE_INFORMATION info = {};
    LARGE_INTEGER size = {};
    if (!GetFileInformationByHandle(hFile, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0 ||
        !GetFileSizeEx(hFile, &size) || size.QuadPart <= 0 || size.QuadPart > MAX_PROGRAM_SIZE)
        return false;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD cbRead = 0;
    return ReadFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &cbRead, nullptr) &&
           cbRead == bytes.size();
}

// Others may read while we do, not write nor delete; a link is opened as
// itself, and then refused by ReadWhole.
TxFileHandle OpenForReading(const char* pszPath)
{
    return TxFileHandle(CreateFileA(pszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

// The Windows folder's "Temp": other users may make files there, but neither
// list nor rename what is in it. Where it cannot be had, no copy is made
// (the user's own temp folder is one the user's unelevated programs own).
std::string CopyParent()
{
    char szWindows[MAX_PATH + 1] = "";
    UINT n = GetSystemWindowsDirectoryA(szWindows, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return std::string();
    std::string sFolder(szWindows);
    if (sFolder.back() == '\\')
        sFolder.pop_back();
    return sFolder + "\\Temp";
}

// A new folder of a random name in sParent, for SYSTEM and Administrators
// only; empty when none could be made.
std::string MakeFolder(const std::string& sParent)
{
    TxLocalMem security;
    if (sParent.empty() || !TxMakeSecurityDescriptor(ADMIN_ONLY_FOLDER_SDDL, security))
        return std::string();
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), security.Get(), FALSE};
    for (int i = 0; i < FOLDER_NAME_TRIES; ++i)
    {
        TxString sName = TxRandomName(COPY_FOLDER_PREFIX);
        if (sName.IsEmpty())
            return std::string();
        std::string sFolder = sParent + "\\" + sName.GetText();
        if (CreateDirectoryA(sFolder.c_str(), &attributes))
            return sFolder;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return std::string();
    }
    return std::string();
}

// Starts the copy; it inherits one handle, the original's, to wait on.
bool StartCopy(TemporaryCopy& copy, const std::string& sArguments)
{
    HANDLE hOwn = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &hOwn,
                         SYNCHRONIZE, TRUE, 0))
        return false;
    TxKernelHandle own(hOwn);
    char szHandle[32];
    std::snprintf(szHandle, sizeof(szHandle), " /%s:%lu", HANDOFF_SWITCH,
                  static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(hOwn)));
    return copy.Start(sArguments + szHandle, true);
}
} // namespace

bool TemporaryCopy::Make(const char* pszOriginal)
{
    std::vector<BYTE> bytes;
    {
        TxFileHandle original = OpenForReading(pszOriginal);
        if (!original.IsValid() || !ReadWhole(original.Get(), bytes) || !Sha256(bytes, m_Hash))
            return false;
    }
    m_sFolder = MakeFolder(CopyParent());
    if (m_sFolder.empty())
        return false;
    // Held without FILE_SHARE_DELETE: the folder cannot be renamed away and
    // replaced while it is used. Refused if it is a link after all.
    m_Folder.Reset(CreateFileA(m_sFolder.c_str(), FILE_LIST_DIRECTORY,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION info = {};
    m_sCopy = m_sFolder + "\\" + NameOf(pszOriginal);
    bool bMade = m_Folder.IsValid() && GetFileInformationByHandle(m_Folder.Get(), &info) &&
                 (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
    if (bMade)
    {
        TxFileHandle copy(CreateFileA(m_sCopy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD cbWritten = 0;
        bMade = copy.IsValid() &&
                WriteFile(copy.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &cbWritten,
                          nullptr) &&
                cbWritten == bytes.size();
    }
    if (!bMade)
        Discard();
    return bMade;
}

bool TemporaryCopy::Start(const std::string& sArguments, bool bInheritHandles)
{
    // Held until the process is made: what runs is what was checked.
    TxFileHandle copy = OpenForReading(m_sCopy.c_str());
    std::vector<BYTE> bytes;
    std::vector<BYTE> hash;
    if (!copy.IsValid() || !ReadWhole(copy.Get(), bytes) || !Sha256(bytes, hash) || hash != m_Hash)
        return false;
    std::string sLine = "\"" + m_sCopy + "\" " + sArguments;
    std::vector<char> line(sLine.begin(), sLine.end());
    line.push_back(0);
    char szTemp[MAX_PATH + 1];
    DWORD n = GetTempPathA(sizeof(szTemp), szTemp);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(m_sCopy.c_str(), line.data(), nullptr, nullptr, bInheritHandles, 0, nullptr,
                        n > 0 && n < sizeof(szTemp) ? szTemp : nullptr, &startup, &process))
        return false;
    TxKernelHandle copyProcess(process.hProcess);
    TxKernelHandle copyThread(process.hThread);
    return true;
}

void TemporaryCopy::Discard()
{
    m_Folder.Reset();
    if (!m_sCopy.empty())
        DeleteFileA(m_sCopy.c_str());
    if (!m_sFolder.empty())
        RemoveDirectoryA(m_sFolder.c_str());
}

bool HandOverToCopy(const TxString& sSelf, const char* pszCmdLine)
{
    TemporaryCopy copy;
    if (!copy.Make(sSelf.GetText()))
        return false;
    std::string sArguments = std::string(pszCmdLine ? pszCmdLine : "") + " /" + ORIGINAL_SWITCH +
                             ":\"" + sSelf.GetText() + "\"";
    if (StartCopy(copy, sArguments))
        return true;
    copy.Discard();
    return false;
}

TxString WaitForOriginal(const char* pszCmdLine)
{
    std::string sOriginal = SwitchValue(pszCmdLine, ORIGINAL_SWITCH);
    if (sOriginal.empty())
        return TxString();
    std::string sHandle = SwitchValue(pszCmdLine, HANDOFF_SWITCH);
    ULONG_PTR uHandle = std::strtoul(sHandle.c_str(), nullptr, 10);
    if (uHandle != 0)
    {
        // Should the original not end, its file is left to the restart.
        TxKernelHandle original(reinterpret_cast<HANDLE>(uHandle));
        WaitForSingleObject(original.Get(), ORIGINAL_END_WAIT_MS);
    }
    return TxString(sOriginal.c_str());
}

bool ScheduleOwnRemoval(const TxString& sSelf)
{
    std::string sFolder = ParentOf(sSelf.GetText());
    return MoveFileExA(sSelf.GetText(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) && !sFolder.empty() &&
           MoveFileExA(sFolder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}
