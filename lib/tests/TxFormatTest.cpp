#include "TxFormat.h"

#include <gtest/gtest.h>
#include <string>

namespace
{
std::string Format(const char* pszFormat, std::initializer_list<TxFormatArg> args)
{
    return TxFormat(pszFormat, args).GetText();
}
} // namespace

TEST(TxFormat, TakesTranslatedFormatsAsData)
{
    EXPECT_EQ(Format("Cannot create folder %s", {"C:\\a%s%d"}), "Cannot create folder C:\\a%s%d");
    EXPECT_EQ(Format("%d of %u, %x%%", {3, 4000000000ULL, 255}), "3 of 4000000000, ff%");
    EXPECT_EQ(Format("%I64d %lld", {1LL}), "%I64d %lld");
    EXPECT_EQ(Format("[%5s|%-4d|%.2s]", {"ab", 7, "xyz"}), "[   ab|7   |xy]");
    EXPECT_EQ(Format("%s and %s", {"one"}), "one and ");
    EXPECT_EQ(Format("%d", {"text"}), "0");
    EXPECT_EQ(Format("%s", {-9000000000LL}), "-9000000000");
}
