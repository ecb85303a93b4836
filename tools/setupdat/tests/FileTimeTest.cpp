#include "FileTime.h"

#include <gtest/gtest.h>

TEST(FileTime, ConvertsUnixTimesBothWays)
{
    struct Case
    {
        std::int64_t llSeconds;
        std::uint32_t dwNanoseconds;
        std::uint64_t qwFileTime;
    };
    const Case cases[] = {
        {0, 0, 116444736000000000ull},          {1, 500, 116444736010000005ull},
        {-1, 999999900, 116444735999999999ull}, {-FILETIME_UNIX_EPOCH_SECONDS, 0, 0},
        {4102444800, 0, 157469184000000000ull}, // 2100-01-01, past 32-bit time_t
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.llSeconds);
        EXPECT_EQ(FileTimeValue(FileTimeFromUnix(c.llSeconds, c.dwNanoseconds)), c.qwFileTime);
        std::int64_t llSeconds = 0;
        std::uint32_t dwNanoseconds = 0;
        FileTimeToUnix(MakeFileTime(c.qwFileTime), llSeconds, dwNanoseconds);
        EXPECT_EQ(llSeconds, c.llSeconds);
        EXPECT_EQ(dwNanoseconds, c.dwNanoseconds / 100 * 100);
    }
}

TEST(FileTime, TimesBefore1601BecomeZero)
{
    EXPECT_EQ(FileTimeValue(FileTimeFromUnix(-FILETIME_UNIX_EPOCH_SECONDS - 1, 0)), 0u);
}

TEST(FileTime, FormatsAsUtcCalendarTime)
{
    struct Case
    {
        std::uint64_t qwFileTime;
        const char* pszText;
    };
    const Case cases[] = {
        {0, "1601-01-01 00:00:00 UTC"},
        {116444736000000000ull, "1970-01-01 00:00:00 UTC"},
        {116444735990000000ull, "1969-12-31 23:59:59 UTC"},
        {125963012965000000ull, "2000-02-29 12:34:56.5000000 UTC"},
        {126256467060000001ull, "2001-02-03 04:05:06.0000001 UTC"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatFileTime(MakeFileTime(c.qwFileTime)), c.pszText);
}
