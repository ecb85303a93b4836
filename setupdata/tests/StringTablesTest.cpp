#include "StringTables.h"

#include <cstring>
#include <gtest/gtest.h>
#include <set>
#include <string>

// The families stand in lookup order with their sizes; switches and the
// registry export depend on both.
TEST(StringTables, KeysAreUniqueAndGroupedByFamily)
{
    struct
    {
        const char* pszPrefix;
        int iCount;
    } const families[] = {{"glx_", 2},  {"gls_", 57}, {"glu_", 22},
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
    for (const CTextKey& key : g_TextKeys)
        key.pText->Assign("stale");
    SetDefaultTexts();
    for (const CTextKey& key : g_TextKeys)
        EXPECT_STREQ(key.pText->GetText(), key.pszEnglish) << key.pszKey;

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
