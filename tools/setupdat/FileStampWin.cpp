#include "FileStamp.h"
#include "TxHandles.h"

namespace
{
std::string SystemError(const char* pszOperation)
{
    DWORD dwError = GetLastError();
    char szText[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, dwError,
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), szText, sizeof(szText), nullptr);
    std::string sText(szText);
    while (!sText.empty() && (sText.back() == '\n' || sText.back() == '\r'))
        sText.pop_back();
    return std::string(pszOperation) + " failed (" + std::to_string(dwError) + "): " + sText;
}

SetupDatFileTime FromFileTime(const FILETIME& ft)
{
    return SetupDatFileTime{ft.dwLowDateTime, ft.dwHighDateTime};
}

FILETIME ToFileTime(const SetupDatFileTime& ft)
{
    FILETIME result;
    result.dwLowDateTime = ft.dwLowDateTime;
    result.dwHighDateTime = ft.dwHighDateTime;
    return result;
}
} // namespace

bool ReadFileStamp(const std::filesystem::path& path, FileStamp& stamp, std::string& sError)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(path.string().c_str(), GetFileExInfoStandard, &data))
    {
        sError = SystemError("GetFileAttributesExA");
        return false;
    }
    stamp.dwAttributes = data.dwFileAttributes;
    stamp.ftCreation = FromFileTime(data.ftCreationTime);
    stamp.ftLastAccess = FromFileTime(data.ftLastAccessTime);
    stamp.ftLastWrite = FromFileTime(data.ftLastWriteTime);
    stamp.qwSize = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

bool ApplyFileTimes(const std::filesystem::path& path, const FileStamp& stamp, std::string& sError)
{
    TxFileHandle hFile(CreateFileA(path.string().c_str(), FILE_WRITE_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!hFile.IsValid())
    {
        sError = SystemError("CreateFileA");
        return false;
    }
    FILETIME ftCreation = ToFileTime(stamp.ftCreation);
    FILETIME ftLastAccess = ToFileTime(stamp.ftLastAccess);
    FILETIME ftLastWrite = ToFileTime(stamp.ftLastWrite);
    if (!SetFileTime(hFile.Get(), &ftCreation, &ftLastAccess, &ftLastWrite))
    {
        sError = SystemError("SetFileTime");
        return false;
    }
    return true;
}
