#include "FileTime.h"

#include <cstdio>

namespace
{
constexpr std::uint64_t TICKS_PER_SECOND = 10000000;

// Proleptic Gregorian date of a day count since 1970-01-01 (H. Hinnant's
// civil_from_days), so that no platform's gmtime limits enter the output.
void CivilFromDays(std::int64_t llDays, int& iYear, unsigned& uMonth, unsigned& uDay)
{
    llDays += 719468;
    std::int64_t llEra = (llDays >= 0 ? llDays : llDays - 146096) / 146097;
    unsigned uDayOfEra = static_cast<unsigned>(llDays - llEra * 146097);
    unsigned uYearOfEra =
        (uDayOfEra - uDayOfEra / 1460 + uDayOfEra / 36524 - uDayOfEra / 146096) / 365;
    unsigned uDayOfYear = uDayOfEra - (365 * uYearOfEra + uYearOfEra / 4 - uYearOfEra / 100);
    unsigned uMonthIndex = (5 * uDayOfYear + 2) / 153;
    uDay = uDayOfYear - (153 * uMonthIndex + 2) / 5 + 1;
    uMonth = uMonthIndex < 10 ? uMonthIndex + 3 : uMonthIndex - 9;
    iYear = static_cast<int>(static_cast<std::int64_t>(uYearOfEra) + llEra * 400 + (uMonth <= 2));
}
} // namespace

std::uint64_t FileTimeValue(const SetupDatFileTime& ft)
{
    return (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

SetupDatFileTime MakeFileTime(std::uint64_t qwValue)
{
    SetupDatFileTime ft;
    ft.dwLowDateTime = static_cast<std::uint32_t>(qwValue);
    ft.dwHighDateTime = static_cast<std::uint32_t>(qwValue >> 32);
    return ft;
}

SetupDatFileTime FileTimeFromUnix(std::int64_t llSeconds, std::uint32_t dwNanoseconds)
{
    if (llSeconds < -FILETIME_UNIX_EPOCH_SECONDS)
        return MakeFileTime(0);
    std::uint64_t qwSeconds = static_cast<std::uint64_t>(llSeconds + FILETIME_UNIX_EPOCH_SECONDS);
    return MakeFileTime(qwSeconds * TICKS_PER_SECOND + dwNanoseconds / 100);
}

void FileTimeToUnix(const SetupDatFileTime& ft, std::int64_t& llSeconds,
                    std::uint32_t& dwNanoseconds)
{
    std::uint64_t qwValue = FileTimeValue(ft);
    llSeconds = static_cast<std::int64_t>(qwValue / TICKS_PER_SECOND) - FILETIME_UNIX_EPOCH_SECONDS;
    dwNanoseconds = static_cast<std::uint32_t>(qwValue % TICKS_PER_SECOND) * 100;
}

std::string FormatFileTime(const SetupDatFileTime& ft)
{
    std::int64_t llSeconds = 0;
    std::uint32_t dwNanoseconds = 0;
    FileTimeToUnix(ft, llSeconds, dwNanoseconds);
    std::int64_t llDays = (llSeconds >= 0 ? llSeconds : llSeconds - 86399) / 86400;
    unsigned uSecondOfDay = static_cast<unsigned>(llSeconds - llDays * 86400);
    int iYear = 0;
    unsigned uMonth = 0;
    unsigned uDay = 0;
    CivilFromDays(llDays, iYear, uMonth, uDay);
    char szText[64];
    int n = std::snprintf(szText, sizeof(szText), "%04d-%02u-%02u %02u:%02u:%02u", iYear, uMonth,
                          uDay, uSecondOfDay / 3600, uSecondOfDay / 60 % 60, uSecondOfDay % 60);
    if (dwNanoseconds != 0)
        std::snprintf(szText + n, sizeof(szText) - n, ".%07u", dwNanoseconds / 100);
    return std::string(szText) + " UTC";
}
