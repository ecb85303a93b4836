#include "LanguageFileCheck.h"

#include "LanguageFileRules.h"
#include "LanguageIdNames.h"
#include "EnglishTexts.h"
#include "TxLineSplitter.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>

namespace
{
const char OUTSIDE_SECTIONS[] = "(no language)";

// One line as the setup's reader hands it on.
struct CLine
{
    std::string sText; // up to a zero byte, as the setup keeps it
    bool bZeroByte = false;
    bool bCut = false; // filled the reader's buffer and goes on as the next line
};

std::vector<CLine> ReadLines(const std::string& sFile)
{
    std::vector<CLine> lines;
    std::vector<char> buffer(TX_TEXT_LINE_BUFFER_SIZE);
    auto add = [&lines](const char* pLine, int cch)
    {
        CLine line;
        line.sText.assign(pLine);
        line.bZeroByte = static_cast<int>(line.sText.size()) < cch;
        line.bCut = cch + 1 >= TX_TEXT_LINE_BUFFER_SIZE;
        lines.push_back(line);
    };
    TxLineSplitter<decltype(add)> splitter(buffer.data(), static_cast<int>(buffer.size()), add);
    for (char ch : sFile)
        splitter.Put(static_cast<unsigned char>(ch));
    splitter.Finish();
    return lines;
}

std::string Trimmed(const std::string& s)
{
    size_t iBegin = 0;
    size_t iEnd = s.size();
    while (iBegin < iEnd && IsLangTrimChar(s[iBegin]))
        ++iBegin;
    while (iEnd > iBegin && IsLangTrimChar(s[iEnd - 1]))
        --iEnd;
    return s.substr(iBegin, iEnd - iBegin);
}

std::string Hex(unsigned char ch)
{
    char sz[8];
    std::snprintf(sz, sizeof(sz), "0x%02X", ch);
    return sz;
}

// Length of a well-formed UTF-8 sequence of two or more bytes at p, else 0.
size_t Utf8Sequence(const unsigned char* p, const unsigned char* pEnd)
{
    size_t cch = 0;
    if (*p >= 0xC2 && *p <= 0xDF)
        cch = 2;
    else if (*p >= 0xE0 && *p <= 0xEF)
        cch = 3;
    else if (*p >= 0xF0 && *p <= 0xF4)
        cch = 4;
    if (cch == 0 || static_cast<size_t>(pEnd - p) < cch)
        return 0;
    for (size_t i = 1; i < cch; ++i)
    {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
    }
    return cch;
}

// The first UTF-8 character of a text that is UTF-8 throughout and holds
// one; empty otherwise. Windows-1252 text with accents is almost never valid
// UTF-8, since its accented letters stand before plain ones.
std::string Utf8Character(const std::string& s)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(s.data());
    const unsigned char* pEnd = p + s.size();
    std::string sFirst;
    while (p < pEnd)
    {
        if (*p < 0x80)
        {
            ++p;
            continue;
        }
        size_t cch = Utf8Sequence(p, pEnd);
        if (cch == 0)
            return std::string();
        if (sFirst.empty())
            sFirst.assign(reinterpret_cast<const char*>(p), cch);
        p += cch;
    }
    return sFirst;
}

// The first character of a text that Windows-1252 does not have, or a sign
// that the file was saved in another encoding; empty when there is none.
std::string EncodingFault(const std::string& s)
{
    for (char ch : s)
    {
        unsigned char uch = static_cast<unsigned char>(ch);
        if (uch == 0x81 || uch == 0x8D || uch == 0x8F || uch == 0x90 || uch == 0x9D)
            return "byte " + Hex(uch) + " is no Windows-1252 character";
        if (uch < 0x20 || uch == 0x7F)
            return "control character " + Hex(uch);
    }
    std::string sUtf8 = Utf8Character(s);
    if (!sUtf8.empty())
        return "UTF-8 text (\"" + sUtf8 +
               "\" is one character in UTF-8): save the file in Windows-1252";
    return std::string();
}

// The conversions of a format, for messages: "%s %d", or "none".
std::string ConversionList(const char* pszText)
{
    std::string sList;
    const char* p = pszText;
    const char* pEnd = nullptr;
    while (NextFormatConversion(p, pEnd))
    {
        sList += (sList.empty() ? "" : " ") + std::string(p, pEnd);
        p = pEnd;
    }
    return sList.empty() ? "none" : sList;
}

const CEnglishText* FindKey(const std::string& sKey)
{
    for (const CEnglishText& key : g_EnglishTexts)
    {
        if (sKey.size() == std::strlen(key.pszKey) &&
            std::equal(sKey.begin(), sKey.end(), key.pszKey,
                       [](char a, char b)
                       {
                           return std::tolower(static_cast<unsigned char>(a)) ==
                                  std::tolower(static_cast<unsigned char>(b));
                       }))
            return &key;
    }
    return nullptr;
}

bool SameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y)
                      {
                          return std::tolower(static_cast<unsigned char>(x)) ==
                                 std::tolower(static_cast<unsigned char>(y));
                      });
}

class CChecker
{
public:
    CChecker(const std::string& sFile, std::vector<CLanguageFinding>& findings)
        : m_Lines(ReadLines(sFile)), m_Findings(findings)
    {
        m_bByteOrderMark = sFile.compare(0, 3, "\xEF\xBB\xBF") == 0;
        if (m_bByteOrderMark)
            Report(1, OUTSIDE_SECTIONS,
                   "the file starts with a UTF-8 byte order mark: save it in Windows-1252");
    }

    int Run()
    {
        size_t i = 0;
        while (i < m_Lines.size())
        {
            std::string sTrimmed = Trimmed(m_Lines[i].sText);
            if (StartsWithLangKeyword(sTrimmed.c_str(), LANG_KEYWORD_BEGIN))
                i = Section(i, sTrimmed);
            else
                i = Outside(i, sTrimmed);
        }
        return m_iSections;
    }

private:
    int Number(size_t i) const { return static_cast<int>(i) + 1; }

    void Report(int iLine, const std::string& sLanguage, const std::string& sMessage)
    {
        m_Findings.push_back(CLanguageFinding{iLine, sLanguage, sMessage});
    }

    // What the reader did to the line itself, and keywords the setup's
    // language list would act on.
    void CheckLineShape(size_t i, const std::string& sLanguage)
    {
        const CLine& line = m_Lines[i];
        if (line.bZeroByte)
            Report(Number(i), sLanguage, "zero byte: the setup loses the rest of the line");
        if (line.bCut)
            Report(Number(i), sLanguage,
                   "line too long: the setup cuts it into two after 65,535 bytes");
        if (ContainsLangKeyword(line.sText.c_str(), LANG_KEYWORD_END_OF_FILE) && !m_bScanEnded)
        {
            m_bScanEnded = true;
            m_iScanEndLine = Number(i);
            if (!sLanguage.empty() && sLanguage != OUTSIDE_SECTIONS)
                Report(Number(i), sLanguage,
                       "holds END-OF-FILE: the setup lists no language after this line");
        }
    }

    size_t Outside(size_t i, const std::string& sTrimmed)
    {
        CheckLineShape(i, OUTSIDE_SECTIONS);
        if (m_bScanEnded)
            return i + 1;
        if (ContainsLangKeyword(sTrimmed.c_str(), LANG_KEYWORD_LANGID))
            Report(Number(i), OUTSIDE_SECTIONS,
                   "LANGID outside a section: the setup counts it for the language of the "
                   "system");
        else if (!IsLangCommentLine(sTrimmed.c_str()) && !(i == 0 && m_bByteOrderMark) &&
                 !StartsWithLangKeyword(sTrimmed.c_str(), LANG_KEYWORD_END) &&
                 !ContainsLangKeyword(sTrimmed.c_str(), LANG_KEYWORD_END_OF_FILE))
            Report(Number(i), OUTSIDE_SECTIONS, "text outside a section: the setup ignores it");
        return i + 1;
    }

    // A section from its start line on; returns the line after it.
    size_t Section(size_t iStart, const std::string& sTrimmed)
    {
        ++m_iSections;
        std::string sName = Trimmed(sTrimmed.substr(LANG_KEYWORD_BEGIN_LENGTH));
        std::string sLanguage = sName.empty() ? "(no name)" : sName;
        int iStartLine = Number(iStart);
        bool bListed = !m_bScanEnded;
        if (!bListed)
            Report(iStartLine, sLanguage,
                   "follows END-OF-FILE on line " + std::to_string(m_iScanEndLine) +
                       ": the setup does not list this language");
        CheckLineShape(iStart, sLanguage);
        CheckName(iStartLine, sName, sLanguage);

        m_Keys.clear();
        m_bLangId = false;
        m_bUnknownKey = false;
        m_pKey = nullptr;
        size_t i = iStart + 1;
        for (; i < m_Lines.size(); ++i)
        {
            std::string sLine = Trimmed(m_Lines[i].sText);
            // The next section or the file's end line shows where the translator
            // meant the section to end.
            if (StartsWithLangKeyword(sLine.c_str(), LANG_KEYWORD_BEGIN) ||
                StartsWithLangKeyword(sLine.c_str(), LANG_KEYWORD_END_OF_FILE))
                break;
            if (StartsWithLangKeyword(sLine.c_str(), LANG_KEYWORD_END))
            {
                CheckLineShape(i, sLanguage);
                break;
            }
            SectionLine(i, sLine, sLanguage);
        }
        EndText(sLanguage);
        bool bEnded = i < m_Lines.size() &&
                      StartsWithLangKeyword(Trimmed(m_Lines[i].sText).c_str(), LANG_KEYWORD_END);
        if (!bEnded)
            Report(iStartLine, sLanguage,
                   "no END-LANGUAGE line: the setup reads the lines after the section as its "
                   "last text");
        if (!m_bLangId && bListed)
            Report(iStartLine, sLanguage, "no LANGID line: the setup does not list this language");
        for (const CEnglishText& key : g_EnglishTexts)
        {
            if (m_Keys.count(key.pszKey) == 0)
                Report(iStartLine, sLanguage,
                       std::string("missing key ") + key.pszKey +
                           ": the setup shows the English text");
        }
        return bEnded ? i + 1 : i;
    }

    void CheckName(int iLine, const std::string& sName, const std::string& sLanguage)
    {
        if (sName.empty())
            Report(iLine, sLanguage, "the section has no name");
        std::string sFault = EncodingFault(sName);
        if (!sFault.empty())
            Report(iLine, sLanguage, "name: " + sFault);
        for (const auto& seen : m_Names)
        {
            if (SameName(seen.first, sName))
                Report(iLine, sLanguage,
                       "name given twice (first on line " + std::to_string(seen.second) +
                           "): the setup always loads the first");
        }
        m_Names.emplace_back(sName, iLine);
    }

    void SectionLine(size_t i, const std::string& sLine, const std::string& sLanguage)
    {
        CheckLineShape(i, sLanguage);
        int iLine = Number(i);
        bool bComment = IsLangCommentLine(sLine.c_str());
        if (ContainsLangKeyword(sLine.c_str(), LANG_KEYWORD_LANGID))
        {
            // The first such line gives the id, wherever it stands.
            bool bFirst = !m_bLangId;
            bool bInText = m_pKey != nullptr || m_bUnknownKey;
            if (bFirst)
                LangIdLine(iLine, sLine, sLanguage);
            if (bFirst && !bComment && !bInText &&
                StartsWithLangKeyword(sLine.c_str(), LANG_KEYWORD_LANGID))
                return;
            Report(iLine, sLanguage,
                   bFirst ? "holds LANGID: the setup's language list reads the id from this line"
                          : "holds LANGID: the setup's language list takes it as another LANGID "
                            "line");
        }
        if (ContainsLangKeyword(sLine.c_str(), LANG_KEYWORD_END))
            Report(iLine, sLanguage,
                   "holds END-LANGUAGE: the setup's language list ends the section here");
        if (bComment)
            return;
        if (IsLangKeyLine(sLine.c_str()))
        {
            KeyLine(iLine, sLine, sLanguage);
            return;
        }
        if (m_pKey == nullptr)
        {
            if (!m_bUnknownKey)
                Report(iLine, sLanguage, "text without a key: the setup ignores it");
            return;
        }
        std::string sFault = EncodingFault(sLine);
        if (!sFault.empty())
            Report(iLine, sLanguage, sFault);
        if (!m_Text.empty())
            m_Text += ' ';
        m_Text += sLine;
    }

    void LangIdLine(int iLine, const std::string& sLine, const std::string& sLanguage)
    {
        m_bLangId = true;
        std::vector<char> value;
        LangIdLineValue(sLine.c_str(), value);
        std::string sValue(value.begin(), value.end());
        if (FindLanguageIdByName(sValue.c_str()) < 0)
            Report(iLine, sLanguage,
                   "unknown language identifier \"" + sValue +
                       "\": the setup takes id 0 and no English name (write e.g. LANG_GERMAN)");
    }

    void KeyLine(int iLine, const std::string& sLine, const std::string& sLanguage)
    {
        EndText(sLanguage);
        const CEnglishText* pKey = FindKey(sLine);
        m_bUnknownKey = pKey == nullptr;
        if (pKey == nullptr)
        {
            Report(iLine, sLanguage, "unknown key " + sLine + ": the setup never reads its text");
            return;
        }
        auto seen = m_Keys.find(pKey->pszKey);
        if (seen != m_Keys.end())
        {
            Report(iLine, sLanguage,
                   std::string("key ") + pKey->pszKey + " given twice (first on line " +
                       std::to_string(seen->second) + "): the setup uses the first");
            m_bUnknownKey = true; // its text is never read either
            return;
        }
        m_Keys.emplace(pKey->pszKey, iLine);
        m_pKey = pKey;
        m_iKeyLine = iLine;
        m_Text.clear();
    }

    // The text of the key before is complete: what the setup makes of it.
    void EndText(const std::string& sLanguage)
    {
        if (m_pKey == nullptr)
            return;
        const CEnglishText& key = *m_pKey;
        m_pKey = nullptr;
        if (m_Text.empty())
        {
            Report(m_iKeyLine, sLanguage,
                   std::string(key.pszKey) + " has no text: the setup shows the English text");
            return;
        }
        std::vector<char> text = ApplyLangEscapes(std::vector<char>(m_Text.begin(), m_Text.end()));
        text.push_back(0);
        if (!SameFormatConversions(text.data(), key.pszEnglish))
            Report(m_iKeyLine, sLanguage,
                   std::string(key.pszKey) + ": printf conversions " + ConversionList(text.data()) +
                       " differ from the English " + ConversionList(key.pszEnglish) +
                       ": the setup shows the English text");
    }

    std::vector<CLine> m_Lines;
    std::vector<CLanguageFinding>& m_Findings;
    int m_iSections = 0;
    bool m_bByteOrderMark = false; // reported once, not as text of the first line
    bool m_bScanEnded = false;     // a line holding END-OF-FILE was passed
    int m_iScanEndLine = 0;
    std::vector<std::pair<std::string, int>> m_Names;

    // The section being read.
    std::map<std::string, int> m_Keys; // known keys and their lines
    bool m_bLangId = false;
    bool m_bUnknownKey = false; // the lines after an unknown key are its text
    const CEnglishText* m_pKey = nullptr;
    int m_iKeyLine = 0;
    std::string m_Text;
};
} // namespace

int CheckLanguageFile(const std::string& sFile, std::vector<CLanguageFinding>& findings)
{
    findings.clear();
    int iSections = CChecker(sFile, findings).Run();
    std::stable_sort(findings.begin(), findings.end(),
                     [](const CLanguageFinding& a, const CLanguageFinding& b)
                     { return a.iLine < b.iLine; });
    return iSections;
}
