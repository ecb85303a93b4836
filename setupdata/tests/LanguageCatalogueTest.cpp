#include "CLog.h"
#include "LanguageCatalogue.h"
#include "LanguageTestSupport.h"
#include "StringTables.h"
#include "LogCollector.h"
#include "TestSupport.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

namespace
{
struct ExpectedLanguage
{
    const char* pszName;
    WORD wId;
    const char* pszEName;
};

void ExpectLanguages(const LoadedLanguages& loaded, const std::vector<ExpectedLanguage>& expected)
{
    ASSERT_EQ(loaded.list.GetCount(), static_cast<int>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i)
    {
        const COneLanguage& language = loaded.At(static_cast<int>(i));
        EXPECT_STREQ(language.sLanguage.GetText(), expected[i].pszName) << i;
        EXPECT_EQ(language.LangId, expected[i].wId) << expected[i].pszName;
        EXPECT_STREQ(language.sLangEName.GetText(), expected[i].pszEName) << expected[i].pszName;
    }
}

bool SystemLanguageIs(WORD wPrimary)
{
    return PRIMARYLANGID(GetSystemDefaultLangID()) == wPrimary;
}

class LanguageTest : public ::testing::Test
{
protected:
    void SetUp() override { SetDefaultTexts(); }
};
} // namespace

TEST_F(LanguageTest, CatalogueListsOnlySectionsThatReachTheirLangId)
{
    LoadedLanguages loaded(TestDataPath("Catalogue.dat"));
    // NoId has no LANGID line, the commented start is not a section, After
    // lies behind END-OF-FILE; Open is listed although its end line is missing.
    ExpectLanguages(loaded, {{"English", 9, "ENGLISH"},
                             {"Deutsch", 7, "GERMAN"},
                             {"Srpski", 26, "CROATIAN"},
                             {"Unknown", 0, ""},
                             {"Open", 16, "ITALIAN"}});
    // Lines holding the section keyword are kept trimmed, others as read.
    EXPECT_STREQ(g_LangLines.StringAt(6)->GetText(), "begin-language   Deutsch");
    EXPECT_STREQ(g_LangLines.StringAt(11)->GetText(), "// BEGIN-LANGUAGE Commented");
    EXPECT_EQ(g_LangLines.GetCount(), 32);
}

TEST_F(LanguageTest, CatalogueScanLogsEveryFinding)
{
    if (!SystemLanguageIs(LANG_ENGLISH))
        GTEST_SKIP() << "expects an English system language";
    LogCollector log;
    ASSERT_TRUE(log.IsReady());
    LoadedLanguages loaded(TestDataPath("Catalogue.dat"));
    std::vector<std::string> expected = {
        "Found language: English",
        "Found language ID: LANG_ENGLISH, 9",
        "System language found: English",
        "Found language: Deutsch",
        "Found language ID: LANG_GERMAN, 7",
        "Found language ID: LANG_FRENCH, 12",
        "Language ID specified without name!",
        "Found language: NoId",
        "language specified without LangId",
        "Found language: Srpski",
        "Found language ID: lang_serbian, 26",
        "Found language ID: LANG_CROATIAN, 26",
        "Language ID specified without name!",
        "Found language: Unknown",
        "Found language ID: LANG_KLINGON, 0",
        "Found language: Open",
        "Found language ID: LANG_ITALIAN, 16",
    };
    EXPECT_EQ(log.Messages(), expected);
}

TEST_F(LanguageTest, KeywordsInsideTextsActAsKeywordLines)
{
    LoadedLanguages loaded(TestDataPath("KeywordsInText.dat"));
    // "End-Of-File" in the French text ends the scan before Italiano.
    ExpectLanguages(
        loaded, {{"English", 9, "ENGLISH"}, {"Deutsch", 7, "GERMAN"}, {"Francais", 12, "FRENCH"}});
    // For the section loader they are ordinary text.
    SwitchLanguage("Deutsch", 7);
    EXPECT_STREQ(gls_Welcome.GetText(), "Siehe end-language unten");
    EXPECT_STREQ(gls_Error.GetText(), "Fehler");
    SwitchLanguage("Francais", 12);
    EXPECT_STREQ(gls_Welcome.GetText(), "Bienvenue avant End-Of-File");
}

TEST_F(LanguageTest, LangIdLineVariants)
{
    LoadedLanguages loaded(TestDataPath("LangIdVariants.dat"));
    ExpectLanguages(loaded, {{"Plain", 7, "GERMAN"},
                             {"Tight", 7, "GERMAN"},
                             {"Loose", 7, "GERMAN"},
                             {"Mixed", 7, "GERMAN"},
                             {"TwoEquals", 0, ""},
                             {"Prefixed", 0, ""},
                             {"Empty", 0, ""},
                             {"Serbian", 26, "CROATIAN"},
                             {"Nepali", 97, "NEPALI"}});
}

// Also run with LC_ALL=de_DE.UTF-8, where QV_EXPECT_LANGID makes sure that
// Wine really reported German.
TEST_F(LanguageTest, SystemLanguageLaterMatchingSectionIsDefault)
{
    WORD wSystem = GetSystemDefaultLangID();
    if (const char* pszExpected = std::getenv("QV_EXPECT_LANGID"))
    {
        ASSERT_EQ(static_cast<unsigned long>(wSystem), std::strtoul(pszExpected, nullptr, 0));
    }
    struct
    {
        WORD wPrimary;
        const char* pszName;
        const char* pszEName;
    } const cases[] = {
        {LANG_ENGLISH, "English (US)", "ENGLISH"},
        {LANG_GERMAN, "Deutsch (Schweiz)", "GERMAN"},
        {LANG_FRENCH, "Francais", "FRENCH"},
    };
    WORD wExpectedId = LANG_ENGLISH;
    const char* pszExpected = "English";
    const char* pszEName = "ENGLISH";
    for (const auto& c : cases)
    {
        if (PRIMARYLANGID(wSystem) == c.wPrimary)
        {
            wExpectedId = c.wPrimary;
            pszExpected = c.pszName;
            pszEName = c.pszEName;
        }
    }
    LoadedLanguages loaded(TestDataPath("SystemLanguage.dat"));
    EXPECT_EQ(loaded.list.GetCount(), 5);
    EXPECT_STREQ(loaded.sDefaultName.GetText(), pszExpected);
    EXPECT_STREQ(g_sLanguage.GetText(), pszExpected);
    EXPECT_EQ(g_LangId, wExpectedId);
    EXPECT_STREQ(g_sLangEName.GetText(), pszEName);
}

TEST_F(LanguageTest, SwitchAppliesTheSectionTexts)
{
    LoadedLanguages loaded(TestDataPath("Switch.dat"));
    LogCollector log;
    SwitchLanguage("deutsch", 7);
    EXPECT_STREQ(g_sLanguage.GetText(), "deutsch");
    EXPECT_EQ(g_LangId, 7);
    EXPECT_STREQ(g_sLangEName.GetText(), "GERMAN");
    EXPECT_EQ(log.Messages().at(0),
              "Switching to language: g_sLanguage=deutsch, g_LangId=7, g_sLangEName=GERMAN");

    EXPECT_STREQ(gls_Welcome.GetText(), "Willkommen");
    EXPECT_STREQ(gls_Error.GetText(), "Fehler");
    EXPECT_STREQ(gla_Next.GetText(), "Naechstes Hintergrundbild");
    EXPECT_STREQ(gls_Usage.GetText(), "Erste Zeile zweite \nZeile mit \r\n Escapes");
    EXPECT_STREQ(gls_Folders.GetText(), "Ordner");
    // gl9_Unknown is not part of the text before it.
    EXPECT_STREQ(gls_ButtonNext.GetText(), "Weiter");
    // A key followed by a key, or by the section end, has no text.
    EXPECT_STREQ(gls_Images.GetText(), "Images");
    EXPECT_STREQ(gls_NewFolder.GetText(), "New folder");
    // A text that expects other format arguments than the English one.
    EXPECT_STREQ(gls_InstalledD.GetText(), "Installed %d %%");
}

TEST_F(LanguageTest, KeyLinesWithIgnorableCharactersAreTheKeys)
{
    // A soft hyphen, which the locale-aware comparison ignores, in the family
    // prefix and behind it.
    TempFolder folder;
    std::string path = folder.AddFile("Lang.dat", "BEGIN-LANGUAGE Deutsch\r\n"
                                                  "LANGID = LANG_GERMAN\r\n"
                                                  "gl\xADs_Error\r\nFehler\r\n"
                                                  "gls_Wel\xAD"
                                                  "come\r\nWillkommen\r\n"
                                                  "END-LANGUAGE\r\n");
    LoadedLanguages loaded(path);
    SwitchLanguage("Deutsch", 7);
    EXPECT_STREQ(gls_Error.GetText(), "Fehler");
    EXPECT_STREQ(gls_Welcome.GetText(), "Willkommen");
}

TEST_F(LanguageTest, SwitchKeepsTextsTheNewLanguageLacks)
{
    LoadedLanguages loaded(TestDataPath("Switch.dat"));
    SwitchLanguage("Deutsch", 7);
    SwitchLanguage("Italiano", 16);
    EXPECT_STREQ(g_sLanguage.GetText(), "Italiano");
    EXPECT_STREQ(gls_Error.GetText(), "Errore");
    EXPECT_STREQ(gla_Previous.GetText(), "Sfondo precedente");
    EXPECT_STREQ(gls_Welcome.GetText(), "Willkommen");
}

TEST_F(LanguageTest, SwitchToEmptyOrUnknownSectionChangesNothing)
{
    LoadedLanguages loaded(TestDataPath("Switch.dat"));
    SwitchLanguage("Italiano", 16);
    for (const char* pszName : {"Leer", "Klingon", ""})
    {
        SwitchLanguage(pszName, 12);
        EXPECT_STREQ(g_sLanguage.GetText(), "Italiano") << pszName;
        EXPECT_EQ(g_LangId, 16) << pszName;
        EXPECT_STREQ(gls_Error.GetText(), "Errore") << pszName;
    }
}

TEST_F(LanguageTest, MissingFileGivesTheSingleEnglishEntry)
{
    LogCollector log;
    std::string path = TestDataPath("NoSuchFile.dat");
    LoadedLanguages loaded(path);
    ExpectLanguages(loaded, {{"English", 9, "ENGLISH"}});
    EXPECT_STREQ(loaded.sDefaultName.GetText(), "English");
    EXPECT_EQ(g_LangLines.GetCount(), 0);
    EXPECT_EQ(log.Messages().at(0), "TxFile::TxFile: File " + path + " could not be open");

    SwitchLanguage("English", 9);
    SwitchLanguage("Deutsch", 7);
    EXPECT_STREQ(g_sLanguage.GetText(), "English");
    EXPECT_STREQ(gls_Welcome.GetText(), "Welcome");
}

TEST(LanguageFilePath, BackslashOnlyWhenMissing)
{
    struct
    {
        const char* pszDir;
        const char* pszPath;
    } const cases[] = {{"D:\\Setup", "D:\\Setup\\SetupLang.dat"},
                       {"D:\\", "D:\\SetupLang.dat"},
                       {"D:/cd/", "D:/cd/SetupLang.dat"}};
    for (const auto& c : cases)
    {
        TxString sPath;
        LanguageFilePath(c.pszDir, sPath);
        EXPECT_STREQ(sPath.GetText(), c.pszPath);
    }
}

TEST_F(LanguageTest, DefaultFileLiesBesideTheProgram)
{
    char szProgram[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, szProgram, MAX_PATH);
    ASSERT_TRUE(n > 0 && n < MAX_PATH);
    std::string expected(szProgram);
    expected = expected.substr(0, expected.rfind('\\') + 1) + "SetupLang.dat";
    LogCollector log;
    TxCollection list(32, 64);
    TxString sDefaultName;
    LoadLanguages(list, sDefaultName);
    EXPECT_EQ(log.Messages().at(0), "TxFile::TxFile: File " + expected + " could not be open");
    EXPECT_EQ(list.GetCount(), 1);
}

TEST_F(LanguageTest, MissingEndLinesRunToTheEndOfTheFile)
{
    LoadedLanguages loaded(TestDataPath("MissingEnds.dat"));
    ExpectLanguages(loaded, {{"Deutsch", 7, "GERMAN"}, {"Italiano", 16, "ITALIAN"}});
    // Without its end line the German section takes in the Italian one.
    SwitchLanguage("Deutsch", 7);
    EXPECT_STREQ(gls_Error.GetText(), "Fehler BEGIN-LANGUAGE Italiano LANGID = LANG_ITALIAN");
    EXPECT_STREQ(gls_Welcome.GetText(), "Benvenuto");
}

TEST_F(LanguageTest, BinaryJunkIsReadWithoutHarm)
{
    TempFolder folder;
    std::string junk;
    unsigned seed = 12345;
    for (int i = 0; i < 200000; ++i)
    {
        seed = seed * 1103515245u + 12345u;
        junk += static_cast<char>(seed >> 16);
        if (i % 5000 == 0)
            junk += "\r\nBEGIN-LANGUAGE \x01\xff\r\nLANGID = LANG_GERMAN\r\ngls_Error\r\n";
    }
    LoadedLanguages loaded(folder.AddFile("Junk.dat", junk));
    ASSERT_GT(loaded.list.GetCount(), 0);
    for (int i = 0; i < loaded.list.GetCount(); ++i)
        SwitchLanguage(loaded.At(i).sLanguage, loaded.At(i).LangId);
    EXPECT_GT(g_LangLines.GetCount(), 40);
}

TEST_F(LanguageTest, FileWithoutSectionsOffersEnglish)
{
    TempFolder folder;
    LoadedLanguages loaded(folder.AddFile("Empty.dat", ""));
    ExpectLanguages(loaded, {{"English", 9, "ENGLISH"}});
    SwitchLanguage("English", 9);
    EXPECT_STREQ(gls_Welcome.GetText(), "Welcome");
}

TEST_F(LanguageTest, OverlongLinesAreSplitByTheReader)
{
    TempFolder folder;
    std::string name(70000, 'N');
    std::string text(70000, 't');
    std::string file = "BEGIN-LANGUAGE " + name + "\r\nLANGID = LANG_GERMAN\r\ngls_Usage\r\n" +
                       text + "\r\ngls_Error\r\nFehler\r\nEND-LANGUAGE\r\n";
    LogCollector log;
    LoadedLanguages loaded(folder.AddFile("Long.dat", file));
    // The reader cuts lines at 65,535 characters; the rest is a line of its own.
    ASSERT_EQ(loaded.list.GetCount(), 1);
    EXPECT_EQ(loaded.At(0).sLanguage.Length(), 65535 - 15);
    for (const std::string& data : log.Data())
        EXPECT_LE(data.size(), static_cast<size_t>(LOG_BUFFER_SIZE));

    SwitchLanguage(loaded.At(0).sLanguage, 7);
    EXPECT_EQ(gls_Usage.Length(), 70000 + 1);
    EXPECT_STREQ(gls_Error.GetText(), "Fehler");
}
