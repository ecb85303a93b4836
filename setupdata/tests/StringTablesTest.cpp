#include "StringTables.h"

#include <cctype>
#include <cstring>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace
{
// The printf conversions of a text, one capital letter each; "%%" is none.
std::string Conversions(const char* pszText)
{
    std::string letters;
    for (const char* p = std::strchr(pszText, '%'); p != nullptr; p = std::strchr(p + 1, '%'))
    {
        if (p[1] == '%')
        {
            ++p;
            continue;
        }
        p += 1 + std::strspn(p + 1, "-+ #0123456789.");
        if (*p == 0)
            break;
        letters += static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    }
    return letters;
}

// What a key's name promises its callers: the capitals S (a text) and D (a
// number) it ends in, one per argument ("gls_FreeSpaceSSS" takes three texts).
std::string PromisedConversions(const char* pszKey)
{
    const char* pEnd = pszKey + std::strlen(pszKey);
    const char* p = pEnd;
    while (p > pszKey && (p[-1] == 'S' || p[-1] == 'D'))
        --p;
    return std::string(p, pEnd);
}
} // namespace

// The families stand in lookup order with their sizes; switches and the
// registry export depend on both.
TEST(StringTables, KeysAreUniqueAndGroupedByFamily)
{
    struct
    {
        const char* pszPrefix;
        int iCount;
    } const families[] = {{"glx_", 2},  {"gls_", 66}, {"glu_", 22},
                          {"gla_", 13}, {"gld_", 11}, {"glo_", 8}};
    std::set<std::string> keys;
    int i = 0;
    for (const auto& family : families)
    {
        for (int n = 0; n < family.iCount; ++n, ++i)
        {
            const CTextKey& key = g_TextKeys[i];
            EXPECT_EQ(std::strncmp(key.pszKey, family.pszPrefix, 4), 0) << key.pszKey;
            EXPECT_TRUE(keys.insert(key.pszKey).second) << key.pszKey;
        }
    }
    EXPECT_EQ(i, TEXT_KEY_COUNT);
}

TEST(StringTables, DefaultTextsAreTheBuiltInEnglish)
{
    // Every key has a variable of its own, and every one is set again.
    std::set<const TxString*> variables;
    for (const CTextKey& key : g_TextKeys)
    {
        EXPECT_TRUE(variables.insert(key.pText).second) << key.pszKey;
        key.pText->Assign("stale");
    }
    SetDefaultTexts();
    for (const CTextKey& key : g_TextKeys)
        EXPECT_STRNE(key.pText->GetText(), "stale") << key.pszKey;

    // Texts whose exact bytes are easy to get wrong.
    EXPECT_STREQ(gls_ButtonPrevious.GetText(), "<  Previous");
    EXPECT_STREQ(gls_ButtonNext.GetText(), "Next  >");
    EXPECT_STREQ(gls_CreateFolder.GetText(), "Create folder in \"");
    EXPECT_STREQ(gls_ImagesAvailableD.GetText(), "%d images available to be installed. ");
    EXPECT_STREQ(gla_Previous.GetText(), "Previous wallaper");
    EXPECT_STREQ(gla_CanotFindFunction.GetText(), "Incompatible QvApi.dll");
    EXPECT_STREQ(gls_SetupSuccessful.GetText(), "Installation completed successfully.\n\n Quorvane "
                                                "Manager must be run to configure the wallpaper "
                                                "change.");
    std::string usage = gls_Usage.GetText();
    EXPECT_EQ(usage.rfind("This installation program will install the Kestov Quorvane wallpaper "
                          "changer and screensaver on your PC.\r\n\r\n",
                          0),
              0u);
}

// The callers pass the arguments a text's name promises; a text that takes
// others would read them as the wrong type.
TEST(StringTables, EachTextTakesTheArgumentsItsNamePromises)
{
    SetDefaultTexts();
    for (const CTextKey& key : g_TextKeys)
        EXPECT_EQ(Conversions(key.pText->GetText()), PromisedConversions(key.pszKey))
            << key.pszKey << ": " << key.pText->GetText();
}
