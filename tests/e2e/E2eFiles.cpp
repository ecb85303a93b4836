#include "E2eFiles.h"

#include "TxHandles.h"

#include <windows.h>

namespace
{
// CMake hands the trees over as Linux paths.
std::string TreePath(const char* pszLinuxPath, const std::string& sRelative)
{
    std::string sPath = WinePath(pszLinuxPath);
    return sRelative.empty() ? sPath : JoinPath(sPath, sRelative);
}

DWORD Attributes(const std::string& sPath)
{
    return GetFileAttributesA(sPath.c_str());
}
} // namespace

std::string SourcePath(const std::string& sRelative)
{
    return TreePath(QV_E2E_SOURCE_DIR, sRelative);
}

std::string BuildPath(const std::string& sRelative)
{
    return TreePath(QV_E2E_BUILD_DIR, sRelative);
}

std::string ProgramsPath(const std::string& sRelative)
{
    return TreePath(QV_E2E_PROGRAMS_DIR, sRelative);
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
