// Checks the language file the product ships, media/SetupLang.dat.
#include "LanguageCatalogue.h"
#include "LanguageTestSupport.h"
#include "StringTables.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace
{
std::string Trimmed(const char* psz)
{
    TxString s(psz);
    s.Trim();
    return s.GetText();
}

class ShippedLanguageFile : public ::testing::Test
{
protected:
    ShippedLanguageFile() : m_Loaded(SourcePath("media/SetupLang.dat")) {}

    LoadedLanguages m_Loaded;
};
} // namespace

TEST_F(ShippedLanguageFile, OffersTheFiveLanguages)
{
    const struct
    {
        const char* pszName;
        WORD wId;
    } expected[] = {{"English", 9},
                    {"Deutsch", 7},
                    {"Fran\xe7"
                     "ais",
                     12},
                    {"Espa\xf1ol", 10},
                    {"Italiano", 16}};
    ASSERT_EQ(m_Loaded.list.GetCount(), 5);
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_STREQ(m_Loaded.At(i).sLanguage.GetText(), expected[i].pszName);
        EXPECT_EQ(m_Loaded.At(i).LangId, expected[i].wId);
    }
}

// Every section gives every key a text with the English text's format
// arguments in the same order, and has no key that the tables lack.
TEST_F(ShippedLanguageFile, EverySectionDefinesEveryKey)
{
    std::set<std::string> known;
    for (const CTextKey& key : g_TextKeys)
        known.insert(key.pszKey);
    for (int i = 0; i < m_Loaded.list.GetCount(); ++i)
    {
        const TxString& sName = m_Loaded.At(i).sLanguage;
        ASSERT_TRUE(LoadLanguageSection(sName)) << sName.GetText();
        for (int n = 0; n < g_LangSection.GetCount(); ++n)
        {
            std::string line = g_LangSection.StringAt(n)->GetText();
            if (line.size() >= 4 && line.compare(0, 2, "gl") == 0 && line[3] == '_')
            {
                EXPECT_EQ(known.count(line), 1u) << sName.GetText() << ": " << line;
            }
        }
        for (const CTextKey& key : g_TextKeys)
        {
            TxString sText;
            GetLanguageText(key.pszKey, sText);
            ASSERT_FALSE(sText.IsEmpty()) << sName.GetText() << ": " << key.pszKey;
            EXPECT_EQ(PrintfConversions(sText.GetText()), PrintfConversions(key.pszEnglish))
                << sName.GetText() << ": " << key.pszKey;
        }
    }
}

// Switching back to English after another language must restore the
// built-in texts (leading and trailing blanks cannot be written in the file).
TEST_F(ShippedLanguageFile, EnglishSectionRepeatsTheBuiltInTexts)
{
    ASSERT_TRUE(LoadLanguageSection("English"));
    for (const CTextKey& key : g_TextKeys)
    {
        TxString sText;
        GetLanguageText(key.pszKey, sText);
        EXPECT_EQ(std::string(sText.GetText()), Trimmed(key.pszEnglish)) << key.pszKey;
    }
}
