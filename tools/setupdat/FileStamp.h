#pragma once

#include "SetupDatFormat.h"

#include <cstdint>
#include <filesystem>
#include <string>

// What an archive entry records of a file, as Windows sees it.
struct FileStamp
{
    std::uint32_t dwAttributes = 0;
    SetupDatFileTime ftCreation = {};
    SetupDatFileTime ftLastAccess = {};
    SetupDatFileTime ftLastWrite = {};
    std::uint64_t qwSize = 0;
};

constexpr std::uint32_t STAMP_ATTRIBUTE_READONLY = 0x01;
constexpr std::uint32_t STAMP_ATTRIBUTE_ARCHIVE = 0x20;

// The platform layer: one implementation for Windows, one for POSIX systems.
// Both return false with a reason in sError when the system call fails.

// Reads attributes, the three times and the size of a file. On POSIX systems
// the creation time is the last write time (there is no portable birth time,
// and Wine reports the same), and a file without any write bit is read-only.
bool ReadFileStamp(const std::filesystem::path& path, FileStamp& stamp, std::string& sError);

// Gives an existing file the stamp's times (POSIX: access and write only).
bool ApplyFileTimes(const std::filesystem::path& path, const FileStamp& stamp, std::string& sError);
