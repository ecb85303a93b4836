#include "SectionWriter.h"

#include "LanguageFileRules.h"
#include "EnglishTexts.h"

#include <cstring>

namespace
{
const char LINE_END[] = "\r\n";
const char PSEUDO_PAD = '\xB7'; // middle dot

// Accented Windows-1252 forms of the ASCII letters that have one.
const char PSEUDO_FROM[] = "AaCcDdEeIiNnOoUuYySsZzf";
const char PSEUDO_TO[] = "\xC5\xE5\xC7\xE7\xD0\xF0\xC9\xE9\xCF\xEF\xD1\xF1\xD6\xF6\xDC\xFC\xDD\xFD"
                         "\x8A\x9A\x8E\x9E\x83";
static_assert(sizeof(PSEUDO_FROM) == sizeof(PSEUDO_TO), "one accented form per letter");

char PseudoLetter(char ch)
{
    const char* pFound = ch != 0 ? std::strchr(PSEUDO_FROM, ch) : nullptr;
    return pFound != nullptr ? PSEUDO_TO[pFound - PSEUDO_FROM] : ch;
}

void AppendLine(std::string& sOut, const std::string& sLine)
{
    sOut += sLine;
    sOut += LINE_END;
}
} // namespace

std::string EscapeTextLine(const std::string& sText)
{
    std::string sLine;
    for (char ch : sText)
    {
        if (ch == '\r')
            sLine += "\\r";
        else if (ch == '\n')
            sLine += "\\n";
        else
            sLine += ch;
    }
    return sLine;
}

std::string PseudoText(const char* pszEnglish)
{
    std::string sOut = "[";
    const char* p = pszEnglish;
    while (*p != 0)
    {
        const char* pConversion = p;
        const char* pEnd = nullptr;
        if (!NextFormatConversion(pConversion, pEnd))
            pConversion = pEnd = p + std::strlen(p);
        // Letters up to the next conversion; "%%" pairs are kept as they are.
        for (; p < pConversion; ++p)
        {
            if (p[0] == '%' && p[1] == '%')
            {
                sOut += "%%";
                ++p;
            }
            else
                sOut += PseudoLetter(*p);
        }
        sOut.append(pConversion, pEnd);
        p = pEnd;
    }
    size_t cchEnglish = std::strlen(pszEnglish);
    size_t cchTarget = (cchEnglish * 14 + 9) / 10;
    while (sOut.size() + 1 < cchTarget)
        sOut += PSEUDO_PAD;
    sOut += ']';
    return sOut;
}

std::string LanguageSection(const std::string& sName, const std::string& sLangId, bool bPseudo)
{
    std::string sOut;
    AppendLine(sOut, std::string(LANG_KEYWORD_BEGIN) + " " + sName);
    AppendLine(sOut, std::string(LANG_KEYWORD_LANGID) + " = " + sLangId);
    if (!bPseudo)
    {
        AppendLine(sOut, "// Write the translation on the line below each key. Keep %s, %d, "
                         "%0.2d and %% in their order, and \\r and \\n where lines break.");
    }
    AppendLine(sOut, "");
    for (const CEnglishText& key : g_EnglishTexts)
    {
        AppendLine(sOut, key.pszKey);
        AppendLine(sOut, EscapeTextLine(bPseudo ? PseudoText(key.pszEnglish) : key.pszEnglish));
    }
    AppendLine(sOut, LANG_KEYWORD_END);
    return sOut;
}

std::string InsertSection(const std::string& sFile, const std::string& sSection)
{
    // The first line that holds the keyword ends the scan, whatever else it holds.
    size_t iLine = 0;
    while (iLine < sFile.size())
    {
        size_t iNext = sFile.find_first_of("\r\n", iLine);
        std::string sLine = sFile.substr(iLine, iNext == std::string::npos ? iNext : iNext - iLine);
        if (ContainsLangKeyword(sLine.c_str(), LANG_KEYWORD_END_OF_FILE))
            return sFile.substr(0, iLine) + sSection + LINE_END + sFile.substr(iLine);
        if (iNext == std::string::npos)
            break;
        iLine = iNext + 1;
    }
    std::string sOut = sFile;
    if (!sOut.empty() && sOut.back() != '\n' && sOut.back() != '\r')
        sOut += LINE_END;
    return sOut + sSection;
}
