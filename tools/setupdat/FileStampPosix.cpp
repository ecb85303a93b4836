#include "FileStamp.h"
#include "FileTime.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

namespace
{
std::string SystemError(const char* pszOperation)
{
    return std::string(pszOperation) + ": " + std::strerror(errno);
}

timespec ToTimespec(const SetupDatFileTime& ft)
{
    std::int64_t llSeconds = 0;
    std::uint32_t dwNanoseconds = 0;
    FileTimeToUnix(ft, llSeconds, dwNanoseconds);
    timespec ts = {};
    ts.tv_sec = static_cast<time_t>(llSeconds);
    ts.tv_nsec = static_cast<long>(dwNanoseconds);
    return ts;
}
} // namespace

bool ReadFileStamp(const std::filesystem::path& path, FileStamp& stamp, std::string& sError)
{
    struct stat st = {};
    if (stat(path.c_str(), &st) != 0)
    {
        sError = SystemError("stat");
        return false;
    }
    stamp.dwAttributes = STAMP_ATTRIBUTE_ARCHIVE;
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        stamp.dwAttributes |= STAMP_ATTRIBUTE_READONLY;
    stamp.ftLastWrite =
        FileTimeFromUnix(st.st_mtim.tv_sec, static_cast<std::uint32_t>(st.st_mtim.tv_nsec));
    stamp.ftLastAccess =
        FileTimeFromUnix(st.st_atim.tv_sec, static_cast<std::uint32_t>(st.st_atim.tv_nsec));
    stamp.ftCreation = stamp.ftLastWrite;
    stamp.qwSize = static_cast<std::uint64_t>(st.st_size);
    return true;
}

bool ApplyFileTimes(const std::filesystem::path& path, const FileStamp& stamp, std::string& sError)
{
    timespec times[2] = {ToTimespec(stamp.ftLastAccess), ToTimespec(stamp.ftLastWrite)};
    if (utimensat(AT_FDCWD, path.c_str(), times, 0) != 0)
    {
        sError = SystemError("utimensat");
        return false;
    }
    return true;
}
