#include "LanguageCatalogue.h"
#include "LanguageTestSupport.h"
#include "StringTables.h"
#include "TxHandles.h"

#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace
{
const char LANGUAGE_KEY[] = "Software\\Kestov\\Quorvane\\Language";
const char* const PARENT_KEYS[] = {"Software\\Kestov\\Quorvane", "Software\\Kestov"};

// Every value of the language key by name.
std::map<std::string, RegValue> ReadAllValues()
{
    std::map<std::string, RegValue> values;
    TxRegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, LANGUAGE_KEY, 0, KEY_READ, key.Receive()) !=
        ERROR_SUCCESS)
        return values;
    char szName[256];
    for (DWORD i = 0, cchName = sizeof(szName);
         RegEnumValueA(key.Get(), i, szName, &cchName, nullptr, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
         ++i, cchName = sizeof(szName))
        ReadRegValue(key.Get(), szName, values[szName]);
    return values;
}

void ExpectText(const std::map<std::string, RegValue>& values, const char* pszName,
                const TxString& sText)
{
    auto it = values.find(pszName);
    ASSERT_NE(it, values.end()) << pszName;
    EXPECT_EQ(it->second.dwType, static_cast<DWORD>(REG_SZ)) << pszName;
    // The data holds the characters and the terminating zero.
    EXPECT_EQ(it->second.sData, std::string(sText.GetText(), sText.Length() + 1)) << pszName;
}

bool InFamily(const CTextKey& key, const char* pszPrefixes)
{
    return std::strstr(pszPrefixes, std::string(key.pszKey, 4).c_str()) != nullptr;
}

// Writes to the real HKEY_LOCAL_MACHINE of the test prefix and removes the
// key, and the parents it created, afterwards.
class LanguageExportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, LANGUAGE_KEY);
        for (int i = 0; i < 2; ++i)
            m_bParentExisted[i] = RegKeyExists(PARENT_KEYS[i]);
        SetDefaultTexts();
    }

    void TearDown() override
    {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, LANGUAGE_KEY);
        for (int i = 0; i < 2; ++i)
        {
            if (!m_bParentExisted[i])
                RegDeleteKeyA(HKEY_LOCAL_MACHINE, PARENT_KEYS[i]);
        }
    }

    // Every value of the key is expected: the language, then the families.
    void ExpectExport(const char* pszLanguage, DWORD dwId, const char* pszEName,
                      const char* pszFamilies)
    {
        std::map<std::string, RegValue> values = ReadAllValues();
        size_t nExpected = 3;
        ExpectText(values, "Language", pszLanguage);
        ExpectText(values, "LangEName", pszEName);
        const RegValue& id = values["LangId"];
        EXPECT_EQ(id.dwType, static_cast<DWORD>(REG_DWORD));
        EXPECT_EQ(id.sData, RegValue::Dword(dwId).sData);
        for (const CTextKey& key : g_TextKeys)
        {
            if (!InFamily(key, pszFamilies))
                continue;
            ExpectText(values, key.pszKey, *key.pText);
            ++nExpected;
        }
        EXPECT_EQ(values.size(), nExpected);
    }

    bool m_bParentExisted[2] = {};
};
} // namespace

TEST_F(LanguageExportTest, EnglishWithoutLanguageFile)
{
    LoadedLanguages loaded(TestDataPath("NoSuchFile.dat"));
    ExportLanguageToRegistry();
    ExpectExport("English", 9, "ENGLISH", "glx_ gla_ gld_ glo_");
    ExportUninstallTextsToRegistry();
    ExpectExport("English", 9, "ENGLISH", "glx_ gla_ gld_ glo_ glu_");
}

TEST_F(LanguageExportTest, SwitchedLanguageWithEnglishForMissingKeys)
{
    LoadedLanguages loaded(TestDataPath("Switch.dat"));
    SwitchLanguage("Italiano", 16);
    ExportLanguageToRegistry();
    ExpectExport("Italiano", 16, "ITALIAN", "glx_ gla_ gld_ glo_");
    // Only gla_Previous differs from English; the check above compares all.
    EXPECT_STREQ(gla_Previous.GetText(), "Sfondo precedente");
    EXPECT_STREQ(gla_Next.GetText(), "Next wallpaper");
}

TEST_F(LanguageExportTest, EmptyTextIsTheZeroByteAlone)
{
    LoadedLanguages loaded(TestDataPath("NoSuchFile.dat"));
    glx_Ok.Assign("");
    glu_Close.Assign("");
    ExportLanguageToRegistry();
    ExportUninstallTextsToRegistry();
    std::map<std::string, RegValue> values = ReadAllValues();
    EXPECT_EQ(values["glx_Ok"].sData, std::string(1, '\0'));
    EXPECT_EQ(values["glu_Close"].sData, std::string(1, '\0'));
}
