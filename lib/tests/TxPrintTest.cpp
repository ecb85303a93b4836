#include "TxPrint.h"

#include <cstring>
#include <gtest/gtest.h>

// msvcrt leaves a cut text unterminated and answers -1; callers rely on the
// C99 contract instead.
TEST(TxPrint, CutsTerminatesAndReportsTheWholeLength)
{
    char sz[8];
    std::memset(sz, 'x', sizeof(sz));
    EXPECT_EQ(TxPrint(sz, sizeof(sz), "%s-%d", "abcdef", 42), 9);
    EXPECT_STREQ(sz, "abcdef-");

    EXPECT_EQ(TxPrint(sz, sizeof(sz), "%s", "1234567"), 7);
    EXPECT_STREQ(sz, "1234567");
    EXPECT_EQ(TxPrint(sz, sizeof(sz), "%s", "12345678"), 8);
    EXPECT_STREQ(sz, "1234567");

    EXPECT_EQ(TxPrint(nullptr, 0, "%.3d|%5s|%.*s", 7, "ab", 2, "xyz"), 12);
    EXPECT_EQ(TxPrint(sz, 1, "%s", "abc"), 3);
    EXPECT_STREQ(sz, "");
}

TEST(TxPrint, FormatsTheConversionsTheProgramUses)
{
    char sz[128];
    TxPrint(sz, sizeof(sz), "%s %.8lx %4s  %.*s|%.2f %s|%I64d", "Setup", 0x2aUL, "ENTR", 3,
            "abcdef", 1.5, "MB", -5000000000LL);
    EXPECT_STREQ(sz, "Setup 0000002a ENTR  abc|1.50 MB|-5000000000");
}
