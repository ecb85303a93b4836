#include "LanguageIds.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

TEST(LanguageIds, TellingIdentifiers)
{
    struct
    {
        const char* pszName;
        WORD wId;
    } const cases[] = {
        {"LANG_NEUTRAL", 0},    {"LANG_ARABIC", 1},
        {"LANG_ENGLISH", 9},    {"LANG_SPANISH", 10},
        {"LANG_CROATIAN", 26},  {"LANG_SERBIAN", 26},
        {"LANG_AFRIKAANS", 54}, {"LANG_KASHMIRI", 96},
        {"LANG_NEPALI", 97},    {" \tlang_german  ", 7},
        {"Lang_Hindi", 57},     {"", 0},
        {"LANG_", 0},           {"LANG_GERMANY", 0},
        {"GERMAN", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LanguageIdFromName(c.pszName), c.wId) << c.pszName;
}

// Every id either names an identifier that leads back to it, or is one of
// the ids no identifier yields.
TEST(LanguageIds, EnglishNamesRoundTrip)
{
    const std::set<int> unused = {0,  23, 40, 46, 48, 49, 50, 51, 52, 53, 58, 59, 60, 61, 64,
                                  66, 80, 81, 82, 83, 84, 85, 86, 90, 91, 92, 93, 94, 95};
    int iNamed = 0;
    for (int id = 0; id <= 0xFFFF; ++id)
    {
        TxString sName("stale");
        LanguageEnglishName(static_cast<WORD>(id), sName);
        if (unused.count(id) != 0 || id > 97)
        {
            EXPECT_TRUE(sName.IsEmpty()) << id;
            continue;
        }
        ++iNamed;
        EXPECT_EQ(LanguageIdFromName((std::string("LANG_") + sName.GetText()).c_str()), id);
    }
    EXPECT_EQ(iNamed, 69); // 71 identifiers less NEUTRAL and the second id 26

    TxString sName;
    LanguageEnglishName(26, sName);
    EXPECT_STREQ(sName.GetText(), "CROATIAN");
    LanguageEnglishName(7, sName);
    EXPECT_STREQ(sName.GetText(), "GERMAN");
}
