#include "TxSizeText.h"

#include <gtest/gtest.h>
#include <string>
#include <windows.h>

namespace
{
bool IsGermanUser()
{
    return PRIMARYLANGID(LANGIDFROMLCID(GetUserDefaultLCID())) == LANG_GERMAN;
}

std::string Format(long long qwBytes)
{
    TxString s("previous");
    FormatSize(qwBytes, &s);
    return s.GetText();
}
} // namespace

// Runs under the default locale and again, as its own ctest entry, under a
// German one: the point must then become a comma.
TEST(TxSizeText, TabledValues)
{
    LANGID primary = PRIMARYLANGID(LANGIDFROMLCID(GetUserDefaultLCID()));
    if (primary != LANG_ENGLISH && primary != LANG_GERMAN)
        GTEST_SKIP() << "separator unknown for language " << primary;
    char chSeparator = primary == LANG_GERMAN ? ',' : '.';
    struct Case
    {
        long long qwBytes;
        const char* pszExpected; // with "." for the separator
    } cases[] = {
        {0, "0 B"},
        {1023, "1023 B"},
        {1024, "1.00 kB"},
        {1536, "1.50 kB"},
        {10239, "10.00 kB"}, // the quotient chooses the decimals before rounding
        {10240, "10.0 kB"},
        {102400, "100 kB"},
        {1048575, "1024 kB"},
        {1048576, "1.00 MB"},
        {1073741823, "1024 MB"},
        {1073741824, "1.00 GB"},
        {5LL << 40, "5120 GB"},
        {-1, "4294967295 B"}, // below 1,024 in a signed comparison: low 32 bits
    };
    for (const Case& c : cases)
    {
        std::string expected = c.pszExpected;
        size_t iPoint = expected.find('.');
        if (iPoint != std::string::npos)
            expected[iPoint] = chSeparator;
        EXPECT_EQ(Format(c.qwBytes), expected) << c.qwBytes;
    }
    FormatSize(1, nullptr); // nothing to fill, nothing happens
}

TEST(TxSizeText, GermanUserGetsComma)
{
    if (!IsGermanUser())
        GTEST_SKIP() << "needs a German user locale (LC_ALL=de_DE.UTF-8)";
    EXPECT_EQ(Format(1536), "1,50 kB");
    EXPECT_EQ(Format(5LL << 40), "5120 GB");
}
