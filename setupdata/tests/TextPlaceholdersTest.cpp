#include "TextPlaceholders.h"

#include <gtest/gtest.h>

namespace
{
// Code page 1252 has no lead bytes; in 932 0x81 is one.
const unsigned CP_WESTERN = 1252;
const unsigned CP_JAPANESE = 932;

TEST(TextPlaceholdersTest, AcceptsOnlyTheEnglishConversionsInOrder)
{
    struct Case
    {
        const char* pszText;
        const char* pszEnglish;
        unsigned uCodePage;
        bool bSame;
    };
    const Case cases[] = {
        {"Kopiert: %s", "Copied: %s", CP_WESTERN, true},
        {"%s, %d", "%s, %d", CP_WESTERN, true},
        {"%d, %s", "%s, %d", CP_WESTERN, false},
        {"%s%n", "%s", CP_WESTERN, false},
        {"%999999999s", "%s", CP_WESTERN, false},
        {"%ls", "%s", CP_WESTERN, false},
        {"%s %p", "%s", CP_WESTERN, false},
        {"", "%s", CP_WESTERN, false},
        {"100%% %d", "%d %%", CP_WESTERN, true},
        {"%%s", "", CP_WESTERN, true},
        {"%-5s", "%s", CP_WESTERN, false},
        {"%-5s", "%-5s", CP_WESTERN, true},
        {"%I64d", "%I64d", CP_WESTERN, true},
        {"%d", "%I64d", CP_WESTERN, false},
        // A '%' at the end is refused as a conversion the English text lacks.
        {"50 %", "50", CP_WESTERN, false},
        {"50 %", "50 %", CP_WESTERN, true},
        // "\x81%" is one character in 932: a reader that knows it sees %d.
        {"\x81%%d", "%%d", CP_WESTERN, true},
        {"\x81%%d", "%%d", CP_JAPANESE, false},
        // ... and one that reads byte by byte sees %d where 932 sees none.
        {"\x81%d", "", CP_JAPANESE, false},
        {"\x81%d", "%d", CP_JAPANESE, false},
        {"\x81\x40 %s", "%s", CP_JAPANESE, true},
        {"%s\x81", "%s", CP_JAPANESE, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SamePlaceholders(c.pszText, c.pszEnglish, c.uCodePage), c.bSame)
            << '"' << c.pszText << "\" vs \"" << c.pszEnglish << "\" in " << c.uCodePage;
}
} // namespace
