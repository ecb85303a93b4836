#include "Commands.h"

#include "LanguageFileCheck.h"
#include "LanguageIdNames.h"
#include "SectionWriter.h"

#include <fstream>
#include <sstream>

namespace
{
const char USAGE[] =
    "usage:\n"
    "  setuplang check FILE\n"
    "      lists per language what the setup would read differently from what the\n"
    "      translator meant; exit 0 clean, 1 findings, 2 usage or unreadable file\n"
    "  setuplang template [NAME LANGID] [-o OUT]\n"
    "      a new section with the English texts to translate (LANGID as LANG_GERMAN)\n"
    "  setuplang pseudo [--append FILE] [-o OUT]\n"
    "      the section \"Pseudo\" with every English text 40 % longer in accented\n"
    "      letters; --append writes FILE with the section put in before its\n"
    "      END-OF-FILE line\n"
    "  setuplang --help\n"
    "Sections go to OUT, or to the standard output without -o.\n";

struct CUsageError
{
    std::string sMessage;
};

struct CFileError
{
    std::string sMessage;
};

bool ReadFile(const std::string& sPath, std::string& sData)
{
    std::ifstream file(sPath, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream data;
    data << file.rdbuf();
    sData = data.str();
    return !file.bad();
}

std::string ReadInput(const std::string& sPath)
{
    std::string sData;
    if (!ReadFile(sPath, sData))
        throw CFileError{"cannot read " + sPath};
    return sData;
}

void Emit(const std::string& sOutPath, const std::string& sData, std::ostream& out)
{
    if (sOutPath.empty())
    {
        out.write(sData.data(), static_cast<std::streamsize>(sData.size()));
        return;
    }
    std::ofstream file(sOutPath, std::ios::binary | std::ios::trunc);
    file.write(sData.data(), static_cast<std::streamsize>(sData.size()));
    file.close();
    if (!file)
        throw CFileError{"cannot write " + sOutPath};
}

// Takes "-o OUT" (and, with pszOption, that option and its value) out of
// args; the rest stays in order.
std::string TakeOption(std::vector<std::string>& args, const char* pszOption)
{
    std::string sValue;
    bool bSeen = false;
    for (size_t i = 0; i < args.size();)
    {
        if (args[i] != pszOption)
        {
            ++i;
            continue;
        }
        if (bSeen || i + 1 >= args.size())
            throw CUsageError{std::string(pszOption) + " needs one value"};
        bSeen = true;
        sValue = args[i + 1];
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                   args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    }
    return sValue;
}

int Check(const std::vector<std::string>& args, std::ostream& out)
{
    if (args.size() != 1)
        throw CUsageError{"check takes one FILE"};
    std::vector<CLanguageFinding> findings;
    int iLanguages = CheckLanguageFile(ReadInput(args[0]), findings);
    for (const CLanguageFinding& finding : findings)
        out << args[0] << ":" << finding.iLine << ": " << finding.sLanguage << ": "
            << finding.sMessage << "\n";
    out << args[0] << ": " << iLanguages << (iLanguages == 1 ? " language, " : " languages, ")
        << findings.size() << (findings.size() == 1 ? " finding" : " findings") << "\n";
    return findings.empty() ? SETUPLANG_EXIT_OK : SETUPLANG_EXIT_FINDINGS;
}

int Template(std::vector<std::string> args, std::ostream& out)
{
    std::string sOut = TakeOption(args, "-o");
    if (args.size() != 0 && args.size() != 2)
        throw CUsageError{"template takes NAME and LANGID, or neither"};
    std::string sName = args.empty() ? "New language" : args[0];
    std::string sLangId = args.empty() ? "LANG_NEUTRAL" : args[1];
    if (FindLanguageIdByName(sLangId.c_str()) < 0)
        throw CUsageError{"unknown LANGID " + sLangId + " (write e.g. LANG_GERMAN)"};
    Emit(sOut, LanguageSection(sName, sLangId, false), out);
    return SETUPLANG_EXIT_OK;
}

int Pseudo(std::vector<std::string> args, std::ostream& out)
{
    std::string sOut = TakeOption(args, "-o");
    std::string sAppendTo = TakeOption(args, "--append");
    if (!args.empty())
        throw CUsageError{"pseudo takes only --append FILE and -o OUT"};
    std::string sSection = LanguageSection(PSEUDO_LANGUAGE_NAME, PSEUDO_LANGUAGE_ID, true);
    if (!sAppendTo.empty())
        sSection = InsertSection(ReadInput(sAppendTo), sSection);
    Emit(sOut, sSection, out);
    return SETUPLANG_EXIT_OK;
}
} // namespace

int RunSetupLang(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    try
    {
        if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h"))
        {
            out << USAGE;
            return SETUPLANG_EXIT_OK;
        }
        if (args.empty())
            throw CUsageError{"no command"};
        std::vector<std::string> rest(args.begin() + 1, args.end());
        if (args[0] == "check")
            return Check(rest, out);
        if (args[0] == "template")
            return Template(rest, out);
        if (args[0] == "pseudo")
            return Pseudo(rest, out);
        throw CUsageError{"unknown command " + args[0]};
    }
    catch (const CUsageError& e)
    {
        err << "setuplang: " << e.sMessage << " (setuplang --help shows the usage)\n";
    }
    catch (const CFileError& e)
    {
        err << "setuplang: " << e.sMessage << "\n";
    }
    catch (const std::exception& e)
    {
        err << "setuplang: " << e.what() << "\n";
    }
    return SETUPLANG_EXIT_USAGE;
}
