#include "E2eFiles.h"

#include "TxHandles.h"

#include <windows.h>

namespace
{
// CMake hands the trees over as Unix paths; Wine shows the Unix root as Z:.
std::string WinePath(const char* pszUnixPath, const std::string& sRelative)
{
    std::string sPath = std::string("Z:") + pszUnixPath;
    for (char& ch : sPath)
        if (ch == '/')
            ch = '\\';
    return sRelative.empty() ? sPath : JoinPath(sPath, sRelative);
}

DWORD Attributes(const std::string& sPath)
{
    return GetFileAttributesA(sPath.c_str());
}
} // namespace

std::string SourcePath(const std::string& sRelative)
{
    return WinePath(QV_E2E_SOURCE_DIR, sRelative);
}

std::string BuildPath(const std::string& sRelative)
{
    return WinePath(QV_E2E_BUILD_DIR, sRelative);
}

std::string JoinPath(const std::string& sFolder, const std::string& sName)
{
    if (sFolder.empty() || sFolder.back() == '\\' || sFolder.back() == '/')
        return sFolder + sName;
    return sFolder + "\\" + sName;
}

bool FileExists(const std::string& sPath)
{
    DWORD dw = Attributes(sPath);
    return dw != INVALID_FILE_ATTRIBUTES && (dw & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::string& sPath)
{
    DWORD dw = Attributes(sPath);
    return dw != INVALID_FILE_ATTRIBUTES && (dw & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool ReadBytes(const std::string& sPath, std::string& sBytes)
{
    TxFileHandle hFile(CreateFileA(sPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!hFile.IsValid())
        return false;
    sBytes.clear();
    char buffer[65536];
    DWORD dwRead = 0;
    while (ReadFile(hFile.Get(), buffer, sizeof(buffer), &dwRead, nullptr) && dwRead > 0)
        sBytes.append(buffer, dwRead);
    return true;
}

bool WriteBytes(const std::string& sPath, const std::string& sBytes)
{
    TxFileHandle hFile(CreateFileA(sPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!hFile.IsValid())
        return false;
    DWORD dwWritten = 0;
    return WriteFile(hFile.Get(), sBytes.data(), static_cast<DWORD>(sBytes.size()), &dwWritten,
                     nullptr) &&
           dwWritten == sBytes.size();
}

bool CopyOneFile(const std::string& sFrom, const std::string& sTo)
{
    return CopyFileA(sFrom.c_str(), sTo.c_str(), FALSE) != FALSE;
}

bool MakeFolders(const std::string& sPath)
{
    if (sPath.empty() || FolderExists(sPath))
        return true;
    size_t nSlash = sPath.find_last_of("\\/");
    if (nSlash != std::string::npos && nSlash > 2 && !MakeFolders(sPath.substr(0, nSlash)))
        return false;
    return CreateDirectoryA(sPath.c_str(), nullptr) || FolderExists(sPath);
}

bool DeleteTree(const std::string& sPath)
{
    DWORD dw = Attributes(sPath);
    if (dw == INVALID_FILE_ATTRIBUTES)
        return true;
    SetFileAttributesA(sPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    if ((dw & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return DeleteFileA(sPath.c_str()) != FALSE;
    WIN32_FIND_DATAA data;
    TxFindHandle hFind(FindFirstFileA(JoinPath(sPath, "*").c_str(), &data));
    if (hFind.IsValid())
    {
        do
        {
            std::string sName = data.cFileName;
            if (sName != "." && sName != "..")
                DeleteTree(JoinPath(sPath, sName));
        } while (FindNextFileA(hFind.Get(), &data));
    }
    hFind.Reset();
    return RemoveDirectoryA(sPath.c_str()) != FALSE;
}

std::vector<std::string> ListFiles(const std::string& sFolder, const char* pszPattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    TxFindHandle hFind(FindFirstFileA(JoinPath(sFolder, pszPattern).c_str(), &data));
    if (!hFind.IsValid())
        return names;
    do
    {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            names.push_back(data.cFileName);
    } while (FindNextFileA(hFind.Get(), &data));
    return names;
}

bool MakeSparseFile(const std::string& sPath, unsigned long long qwSize)
{
    TxFileHandle hFile(CreateFileA(sPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!hFile.IsValid())
        return false;
    LARGE_INTEGER pos;
    pos.QuadPart = static_cast<LONGLONG>(qwSize);
    return SetFilePointerEx(hFile.Get(), pos, nullptr, FILE_BEGIN) && SetEndOfFile(hFile.Get());
}

unsigned long long LastWriteTime(const std::string& sPath)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(sPath.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}

TempFolder::TempFolder(const char* pszPrefix)
{
    char szTemp[MAX_PATH] = "";
    DWORD n = GetTempPathA(MAX_PATH, szTemp);
    std::string sBase = n > 0 && n < MAX_PATH ? std::string(szTemp, n) : std::string("C:\\");
    static unsigned s_uCounter = 0;
    for (;;)
    {
        char szName[96];
        wsprintfA(szName, "%s%lu-%u", pszPrefix, GetCurrentProcessId(), ++s_uCounter);
        m_sPath = JoinPath(sBase, szName);
        if (CreateDirectoryA(m_sPath.c_str(), nullptr))
            return;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return;
    }
}

TempFolder::~TempFolder()
{
    DeleteTree(m_sPath);
}
