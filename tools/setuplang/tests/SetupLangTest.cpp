#include "Commands.h"
#include "LanguageFileCheck.h"
#include "LanguageFileRules.h"
#include "SectionWriter.h"
#include "EnglishTexts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace
{
namespace fs = std::filesystem;

using Lines = std::vector<std::string>;

struct ToolRun
{
    int iExit;
    std::string sOut;
    std::string sErr;
};

ToolRun RunTool(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    int iExit = RunSetupLang(args, out, err);
    return ToolRun{iExit, out.str(), err.str()};
}

Lines SplitLines(const std::string& s)
{
    Lines lines;
    std::istringstream in(s);
    for (std::string sLine; std::getline(in, sLine);)
    {
        if (!sLine.empty() && sLine.back() == '\r')
            sLine.pop_back();
        lines.push_back(sLine);
    }
    return lines;
}

std::string JoinLines(const Lines& lines)
{
    std::string s;
    for (const std::string& sLine : lines)
        s += sLine + "\r\n";
    return s;
}

std::string Describe(const std::vector<CLanguageFinding>& findings)
{
    std::string s;
    for (const CLanguageFinding& f : findings)
        s += std::to_string(f.iLine) + ": " + f.sLanguage + ": " + f.sMessage + "\n";
    return s;
}

// 1-based number of the first line equal to sLine, after line iAfter.
int LineOf(const Lines& lines, const std::string& sLine, int iAfter = 0)
{
    for (size_t i = static_cast<size_t>(iAfter); i < lines.size(); ++i)
    {
        if (lines[i] == sLine)
            return static_cast<int>(i) + 1;
    }
    ADD_FAILURE() << "no line " << sLine;
    return 0;
}

// Sets the text under a key; returns the key's line.
int SetText(Lines& lines, const std::string& sKey, const std::string& sText)
{
    int iKey = LineOf(lines, sKey);
    lines[static_cast<size_t>(iKey)] = sText;
    return iKey;
}

// Puts lines in before the END-LANGUAGE line; returns the first one's number.
int InsertBeforeEnd(Lines& lines, const Lines& added)
{
    int iEnd = LineOf(lines, LANG_KEYWORD_END);
    lines.insert(lines.begin() + iEnd - 1, added.begin(), added.end());
    return iEnd;
}

class SetupLangFiles : public ::testing::Test
{
protected:
    void TearDown() override
    {
        std::error_code ec;
        for (const fs::path& path : m_Files)
            fs::remove(path, ec);
    }

    std::string TempFile(const std::string& sData)
    {
        fs::path path = fs::temp_directory_path() /
                        ("setuplang_test_" + std::to_string(m_Files.size()) + "_" +
                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::ofstream(path, std::ios::binary) << sData;
        m_Files.push_back(path);
        return path.string();
    }

    std::vector<fs::path> m_Files;
};

std::string ReadBytes(const std::string& sPath)
{
    std::ifstream file(sPath, std::ios::binary);
    std::ostringstream data;
    data << file.rdbuf();
    return data.str();
}
} // namespace

TEST_F(SetupLangFiles, ShippedFileIsCleanAndFaultsExitWithOne)
{
    ToolRun run = RunTool({"check", QV_SOURCE_DIR "/media/SetupLang.dat"});
    EXPECT_EQ(run.iExit, SETUPLANG_EXIT_OK) << run.sOut;
    EXPECT_NE(run.sOut.find(": 5 languages, 0 findings"), std::string::npos) << run.sOut;

    std::string sSection = LanguageSection("Deutsch", "LANG_GERMAN", false);
    std::string sFaulty = TempFile(sSection + "gls_Error\r\n");
    run = RunTool({"check", sFaulty});
    EXPECT_EQ(run.iExit, SETUPLANG_EXIT_FINDINGS) << run.sOut;
    std::string sLine = std::to_string(SplitLines(sSection).size() + 1);
    EXPECT_NE(run.sOut.find(sFaulty + ":" + sLine + ": (no language): text outside a section"),
              std::string::npos)
        << run.sOut;
}

TEST(SetupLang, WrongCommandLinesExitWithTwo)
{
    const std::vector<std::string> cases[] = {
        {},
        {"frobnicate"},
        {"check"},
        {"check", "a.dat", "b.dat"},
        {"check", "no-such-file.dat"},
        {"template", "Deutsch"},
        {"template", "Deutsch", "GERMAN"},
        {"template", "-o"},
        {"pseudo", "extra"},
        {"pseudo", "--append", "no-such-file.dat"},
    };
    for (const std::vector<std::string>& args : cases)
    {
        ToolRun run = RunTool(args);
        EXPECT_EQ(run.iExit, SETUPLANG_EXIT_USAGE) << (args.empty() ? "" : args.back());
        EXPECT_NE(run.sErr.find("setuplang: "), std::string::npos);
    }
    EXPECT_EQ(RunTool({"--help"}).iExit, SETUPLANG_EXIT_OK);
}

// The template filled with the English texts is a clean section, so each
// fault below is the only finding of its file.
TEST(SetupLang, ReportsEachFaultOnItsLine)
{
    const Lines base = SplitLines(LanguageSection("Deutsch", "LANG_GERMAN", false));
    std::vector<CLanguageFinding> findings;
    EXPECT_EQ(CheckLanguageFile(JoinLines(base), findings), 1);
    EXPECT_TRUE(findings.empty()) << Describe(findings);

    struct
    {
        const char* pszFault;
        std::function<int(Lines&)> edit; // makes the fault, returns the line to report
    } const cases[] = {
        {"missing key gls_Welcome",
         [](Lines& l)
         {
             int iKey = LineOf(l, "gls_Welcome");
             l.erase(l.begin() + iKey - 1, l.begin() + iKey + 1);
             return 1;
         }},
        {"unknown key gls_Wellcome",
         [](Lines& l) {
             return InsertBeforeEnd(l, {"gls_Wellcome", "Willkommen"});
         }},
        {"key gls_Error given twice (first on line ",
         [](Lines& l) {
             return InsertBeforeEnd(l, {"GLS_ERROR", "Fehler"});
         }},
        {"gls_InstalledD: printf conversions %s differ from the English %d: the setup shows the "
         "English text",
         [](Lines& l) { return SetText(l, "gls_InstalledD", "%s installiert %%"); }},
        {"gls_Images has no text",
         [](Lines& l)
         {
             int iKey = LineOf(l, "gls_Images");
             l.erase(l.begin() + iKey);
             return iKey;
         }},
        {"text without a key",
         [](Lines& l)
         {
             l.insert(l.begin() + 2, "Hallo");
             return 3;
         }},
        {"byte 0x81 is no Windows-1252 character",
         [](Lines& l) { return SetText(l, "gls_Error", "Fehler\x81") + 1; }},
        {"UTF-8 text (\"\xC3\xBC\" is one character in UTF-8)",
         [](Lines& l) { return SetText(l, "gls_Images", "Bilder f\xC3\xBCr dich") + 1; }},
        {"control character 0x07",
         [](Lines& l) { return SetText(l, "gls_Images", "Bil\ader") + 1; }},
        {"zero byte: the setup loses the rest of the line",
         [](Lines& l) { return SetText(l, "gls_Images", std::string("Bilder\0!", 8)) + 1; }},
        {"holds END-LANGUAGE: the setup's language list ends the section here",
         [](Lines& l) { return SetText(l, "glx_Cancel", "Abbrechen (end-language)") + 1; }},
        {"holds LANGID: the setup's language list takes it as another LANGID line",
         [](Lines& l) { return SetText(l, "gls_SelectLanguage", "Sprache (LangId):") + 1; }},
        {"holds END-OF-FILE: the setup lists no language after this line",
         [](Lines& l) { return SetText(l, "gls_Folders", "Ordner END-OF-FILE") + 1; }},
        {"no END-LANGUAGE line",
         [](Lines& l)
         {
             l.back() = "END-OF-FILE";
             return 1;
         }},
        {"no LANGID line: the setup does not list this language",
         [](Lines& l)
         {
             l.erase(l.begin() + 1);
             return 1;
         }},
        {"unknown language identifier \"LANG_DEUTSCH\"",
         [](Lines& l)
         {
             l[1] = "langid=LANG_DEUTSCH";
             return 2;
         }},
        {"follows END-OF-FILE on line 1: the setup does not list this language",
         [](Lines& l)
         {
             l.insert(l.begin(), "END-OF-FILE");
             return 2;
         }},
        {"text outside a section",
         [](Lines& l)
         {
             l.insert(l.begin(), "Texte");
             return 1;
         }},
        {"LANGID outside a section",
         [](Lines& l)
         {
             l.insert(l.begin(), "LANGID = LANG_GERMAN");
             return 1;
         }},
        {"the file starts with a UTF-8 byte order mark",
         [](Lines& l)
         {
             l.insert(l.begin(), "\xEF\xBB\xBF// Texte");
             return 1;
         }},
        {"name given twice (first on line 1): the setup always loads the first",
         [](Lines& l)
         {
             Lines copy = l;
             copy[0] = "  begin-language Deutsch";
             l.insert(l.end(), copy.begin(), copy.end());
             return static_cast<int>(copy.size()) + 1;
         }},
    };
    for (const auto& c : cases)
    {
        Lines lines = base;
        int iLine = c.edit(lines);
        CheckLanguageFile(JoinLines(lines), findings);
        ASSERT_EQ(findings.size(), 1u) << c.pszFault << "\n" << Describe(findings);
        EXPECT_EQ(findings[0].iLine, iLine) << c.pszFault;
        bool bOutside = std::strstr(c.pszFault, "outside") != nullptr ||
                        std::strstr(c.pszFault, "byte order") != nullptr;
        EXPECT_EQ(findings[0].sLanguage, bOutside ? "(no language)" : "Deutsch") << c.pszFault;
        EXPECT_NE(findings[0].sMessage.find(c.pszFault), std::string::npos) << findings[0].sMessage;
    }
}

TEST(SetupLang, PseudoTextsKeepConversionsAndGrowByTwoFifths)
{
    for (const CEnglishText& key : g_EnglishTexts)
    {
        std::string sPseudo = PseudoText(key.pszEnglish);
        EXPECT_TRUE(SameFormatConversions(sPseudo.c_str(), key.pszEnglish)) << sPseudo;
        EXPECT_GE(sPseudo.size() * 10, std::strlen(key.pszEnglish) * 14) << sPseudo;
        EXPECT_EQ(sPseudo.find_first_of("AaEeIiOoUu"), std::string::npos) << sPseudo;
        EXPECT_EQ(sPseudo.front(), '[');
        EXPECT_EQ(sPseudo.back(), ']');
    }
    EXPECT_EQ(PseudoText("Install to folder:"),
              "[\xCF\xF1\x9At\xE5ll t\xF6 \x83\xF6l\xF0\xE9r:\xB7\xB7\xB7\xB7\xB7\xB7]");
    EXPECT_EQ(PseudoText("Installed %d %%"), "[\xCF\xF1\x9At\xE5ll\xE9\xF0 %d %%\xB7\xB7\xB7\xB7]");
}

// The pseudo language goes in before END-OF-FILE, where the setup still
// lists it, and its escapes give the line breaks of the English texts.
TEST_F(SetupLangFiles, PseudoAppendedToTheShippedFileIsClean)
{
    std::string sOut = TempFile("");
    ToolRun run = RunTool({"pseudo", "--append", QV_SOURCE_DIR "/media/SetupLang.dat", "-o", sOut});
    ASSERT_EQ(run.iExit, SETUPLANG_EXIT_OK) << run.sErr;
    std::string sFile = ReadBytes(sOut);
    EXPECT_LT(sFile.find("BEGIN-LANGUAGE Pseudo\r\nLANGID = LANG_NEUTRAL\r\n"),
              sFile.find("END-OF-FILE"));
    EXPECT_NE(sFile.find("\\n\\n Q\xFC\xF6"), std::string::npos);
    run = RunTool({"check", sOut});
    EXPECT_EQ(run.iExit, SETUPLANG_EXIT_OK) << run.sOut;
    EXPECT_NE(run.sOut.find(": 6 languages, 0 findings"), std::string::npos) << run.sOut;
}

TEST_F(SetupLangFiles, TemplateFilledWithEnglishIsClean)
{
    for (const std::vector<std::string>& args : {std::vector<std::string>{"template"},
                                                 {"template",
                                                  "Fran\xE7"
                                                  "ais",
                                                  "lang_french"}})
    {
        ToolRun run = RunTool(args);
        ASSERT_EQ(run.iExit, SETUPLANG_EXIT_OK) << run.sErr;
        run = RunTool({"check", TempFile(run.sOut)});
        EXPECT_EQ(run.iExit, SETUPLANG_EXIT_OK) << run.sOut;
    }
}
