#pragma once

#include "SetupDatFormat.h"

#include <cstdint>
#include <string>

// Windows FILETIME arithmetic that gives the same answer on every platform, so
// that the Linux and the Windows build of the tool write the same archive.

// Seconds between 1601-01-01 and 1970-01-01, both UTC.
constexpr std::int64_t FILETIME_UNIX_EPOCH_SECONDS = 11644473600;

std::uint64_t FileTimeValue(const SetupDatFileTime& ft);
SetupDatFileTime MakeFileTime(std::uint64_t qwValue);

// Unix time to FILETIME; times before 1601 become 0.
SetupDatFileTime FileTimeFromUnix(std::int64_t llSeconds, std::uint32_t dwNanoseconds);
// FILETIME to Unix seconds and the nanoseconds within that second.
void FileTimeToUnix(const SetupDatFileTime& ft, std::int64_t& llSeconds,
                    std::uint32_t& dwNanoseconds);

// "YYYY-MM-DD hh:mm:ss UTC", with ".fffffff" after the seconds when the time
// has a fraction of a second.
std::string FormatFileTime(const SetupDatFileTime& ft);
