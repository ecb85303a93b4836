#include "LanguageCatalogue.h"

#include "CLog.h"
#include "TxPaths.h"
#include "LanguageFileRules.h"
#include "LanguageIds.h"
#include "StringTables.h"
#include "TextPlaceholders.h"
#include "TxException.h"
#include "TxTextFile.h"

#include <cctype>
#include <cstring>
#include <memory>
#include <vector>

TxStringCollection g_LangLines;
TxStringCollection g_LangSection;
TxString g_sLanguage("English");
WORD g_LangId = LANG_ENGLISH;
TxString g_sLangEName("ENGLISH");

namespace
{
const char ENGLISH_NAME[] = "English";
const char ENGLISH_ENAME[] = "ENGLISH";
// Primary language bits of a LANGID; the sublanguage is ignored.
const WORD PRIMARY_LANGUAGE_MASK = 0x3FF;

bool Contains(const TxString& s, const char* pszKeyword)
{
    return ContainsLangKeyword(s.GetText(), pszKeyword);
}

bool StartsWith(const TxString& s, const char* pszKeyword)
{
    return StartsWithLangKeyword(s.GetText(), pszKeyword);
}

// Trims a section-start line in place (both scans rely on that); true with
// the section's name when the keyword opens the line.
bool SectionName(TxString& sLine, TxString& sName)
{
    sLine.Trim();
    if (!StartsWith(sLine, LANG_KEYWORD_BEGIN))
        return false;
    sLine.SubString(LANG_KEYWORD_BEGIN_LENGTH + 1, sLine.Length(), sName);
    sName.Trim();
    return true;
}

// "LANGID = LANG_GERMAN", "langid LANG_GERMAN" and the like give "LANG_GERMAN".
void LangIdValue(const TxString& sLine, TxString& sValue)
{
    std::vector<char> value;
    LangIdLineValue(sLine.GetText(), value);
    value.push_back(0);
    sValue.Assign(value.data());
}

void SetCurrentLanguage(const TxString& sName, WORD wId)
{
    g_sLanguage.Assign(sName);
    g_LangId = wId;
    LanguageEnglishName(wId, g_sLangEName);
}

void SetEnglishCurrent(TxString& sDefaultName)
{
    sDefaultName.Assign(ENGLISH_NAME);
    g_sLanguage.Assign(ENGLISH_NAME);
    g_LangId = LANG_ENGLISH;
    g_sLangEName.Assign(ENGLISH_ENAME);
}

void AddBuiltInEnglish(TxCollection& list)
{
    std::unique_ptr<COneLanguage> pEnglish(new COneLanguage);
    pEnglish->sLanguage.Assign(ENGLISH_NAME);
    pEnglish->LangId = LANG_ENGLISH;
    pEnglish->sLangEName.Assign(ENGLISH_ENAME);
    list.Insert(pEnglish.get());
    pEnglish.release();
}

// State of the catalogue scan between lines.
struct CCatalogueScan
{
    CCatalogueScan(TxCollection& list, TxString& sDefaultName)
        : list(list), sDefaultName(sDefaultName), wSystemLang(GetSystemDefaultLangID())
    {
    }

    TxCollection& list;
    TxString& sDefaultName;
    WORD wSystemLang;
    // Listed only once its LANGID line is seen.
    std::unique_ptr<COneLanguage> pPending;
    TxString sCurrentName;
};

void OnSectionStart(CCatalogueScan& scan, TxString& sLine)
{
    TxString sName;
    if (!SectionName(sLine, sName))
        return;
    scan.pPending.reset(new COneLanguage);
    scan.pPending->sLanguage.Assign(sName);
    scan.sCurrentName.Assign(sName);
    TX_LOG("Found language: %s", sName.GetText());
}

void DropPending(CCatalogueScan& scan)
{
    if (!scan.pPending)
        return;
    TX_LOG("language specified without LangId");
    scan.pPending.reset();
}

void OnSectionEnd(CCatalogueScan& scan)
{
    DropPending(scan);
    scan.sCurrentName.Assign(ENGLISH_NAME);
}

void ListPending(CCatalogueScan& scan, WORD wId)
{
    scan.pPending->LangId = wId;
    LanguageEnglishName(wId, scan.pPending->sLangEName);
    scan.list.Insert(scan.pPending.get());
    scan.pPending.release();
}

void OnLangId(CCatalogueScan& scan, const TxString& sLine)
{
    TxString sValue;
    LangIdValue(sLine, sValue);
    WORD wId = LanguageIdFromName(sValue.GetText());
    TX_LOG("Found language ID: %s, %d", sValue.GetText(), wId);
    if (scan.pPending)
        ListPending(scan, wId);
    else
        TX_LOG("Language ID specified without name!");
    // Every LANGID line counts, so the last match in the file wins.
    if ((wId & PRIMARY_LANGUAGE_MASK) == (scan.wSystemLang & PRIMARY_LANGUAGE_MASK))
    {
        TX_LOG("System language found: %s", scan.sCurrentName.GetText());
        scan.sDefaultName.Assign(scan.sCurrentName);
        SetCurrentLanguage(scan.sCurrentName, wId);
    }
}

// The keyword tests are not exclusive: one line may act as several of them.
// Returns false at the line that ends the scan.
bool ScanLine(CCatalogueScan& scan, TxString& sLine)
{
    if (Contains(sLine, LANG_KEYWORD_BEGIN))
        OnSectionStart(scan, sLine);
    if (Contains(sLine, LANG_KEYWORD_END))
        OnSectionEnd(scan);
    if (Contains(sLine, LANG_KEYWORD_END_OF_FILE))
    {
        DropPending(scan);
        return false;
    }
    if (Contains(sLine, LANG_KEYWORD_LANGID))
        OnLangId(scan, sLine);
    return true;
}

void ScanCatalogue(TxCollection& list, TxString& sDefaultName)
{
    CCatalogueScan scan(list, sDefaultName);
    int iCount = g_LangLines.GetCount();
    for (int i = 0; i < iCount; ++i)
    {
        if (!ScanLine(scan, *g_LangLines.StringAt(i)))
            return;
    }
}

// Throws the file layer's ExNormal when the file cannot be opened or read.
void ReadLanguageFile(const char* pszFile)
{
    TxTextFile file(pszFile, true);
    file.ReadLines(g_LangLines);
}

bool ProgramFolder(TxString& sDir)
{
    sDir = TxProgramFolder();
    if (sDir.IsEmpty())
    {
        TX_LOG("LoadLanguages - GetModuleFileNameA failed: error=%lu", GetLastError());
        return false;
    }
    return true;
}

// Appends the trimmed lines after a section's start line, up to its end line
// or the end of the file, leaving out empty lines and comments.
void CopySection(int iFirst)
{
    g_LangSection.FreeAll();
    int iCount = g_LangLines.GetCount();
    for (int i = iFirst; i < iCount; ++i)
    {
        TxString sLine(*g_LangLines.StringAt(i));
        sLine.Trim();
        if (StartsWith(sLine, LANG_KEYWORD_END))
            return;
        if (IsLangCommentLine(sLine.GetText()))
            continue;
        g_LangSection.Add(sLine.GetText());
    }
}

bool IsPlainChar(unsigned char ch)
{
    return ch >= 0x20 && ch <= 0x7E;
}

// The first LANG_KEY_PREFIX_LENGTH characters ("gls_" and the like) agree, ASCII
// letter case ignored, or cannot be told apart without the locale-aware
// comparison (a control character or a byte of 0x80 or more).
bool SameKeyPrefix(const char* pszLine, const char* pszKey)
{
    for (int i = 0; i < LANG_KEY_PREFIX_LENGTH; ++i)
    {
        if (pszKey[i] == 0)
            return pszLine[i] == 0;
        unsigned char chLine = static_cast<unsigned char>(pszLine[i]);
        unsigned char chKey = static_cast<unsigned char>(pszKey[i]);
        if (!IsPlainChar(chLine) || !IsPlainChar(chKey))
            return true;
        if (std::tolower(chLine) != std::tolower(chKey))
            return false;
    }
    return true;
}

int FindKeyLine(const char* pszKey)
{
    // The locale-aware comparison is costly under Wine and ran for every line
    // of the section for every key. Between plain ASCII texts only lines of
    // the key's length that open with its family prefix can match; any other
    // line goes to the comparison itself.
    int iKeyLength = static_cast<int>(std::strlen(pszKey));
    bool bPlainKey = TxString::IsPlainAscii(pszKey, iKeyLength);
    int iCount = g_LangSection.GetCount();
    for (int i = 0; i < iCount; ++i)
    {
        const TxString& sLine = *g_LangSection.StringAt(i);
        if (!SameKeyPrefix(sLine.GetText(), pszKey))
            continue;
        if (sLine.Length() != iKeyLength && bPlainKey &&
            TxString::IsPlainAscii(sLine.GetText(), sLine.Length()))
            continue;
        if (sLine.Compare(pszKey) == 0)
            return i;
    }
    return -1;
}

// A translated text replaces the current one only when it is not empty and
// expects the same format arguments as the English text.
void ApplyText(const CTextKey& key)
{
    TxString sText;
    GetLanguageText(key.pszKey, sText);
    if (sText.IsEmpty())
        return;
    if (!SamePlaceholders(sText.GetText(), key.pszEnglish))
    {
        TX_LOG("SwitchLanguage - placeholders differ from the English text, text ignored: key=%s",
               key.pszKey);
        return;
    }
    key.pText->Assign(sText);
}
} // namespace

void LanguageFilePath(const char* pszDir, TxString& sPath)
{
    sPath.Assign(pszDir);
    sPath.AddBackslash();
    sPath.Append(LANGUAGE_FILE_NAME);
}

void LoadLanguages(TxCollection& list, TxString& sDefaultName)
{
    TxString sDir;
    TxString sPath;
    // Without the program's folder there is no file to read: English only.
    if (ProgramFolder(sDir))
        LanguageFilePath(sDir.GetText(), sPath);
    LoadLanguages(list, sDefaultName, sPath.GetText());
}

void LoadLanguages(TxCollection& list, TxString& sDefaultName, const char* pszFile)
{
    list.FreeAll();
    g_LangLines.FreeAll();
    g_LangSection.FreeAll();
    SetEnglishCurrent(sDefaultName);
    try
    {
        ReadLanguageFile(pszFile);
        ScanCatalogue(list, sDefaultName);
    }
    catch (const ExNormal&)
    {
        // Already logged where it was thrown; the setup goes on in English.
        list.FreeAll();
        g_LangLines.FreeAll();
        SetEnglishCurrent(sDefaultName);
    }
    // Offer at least the built-in English, also for a file without sections.
    if (list.GetCount() == 0)
        AddBuiltInEnglish(list);
}

bool LoadLanguageSection(const TxString& sName)
{
    int iCount = g_LangLines.GetCount();
    for (int i = 0; i < iCount; ++i)
    {
        TxString& sLine = *g_LangLines.StringAt(i);
        if (!Contains(sLine, LANG_KEYWORD_BEGIN))
            continue;
        TxString sSection;
        if (SectionName(sLine, sSection) && sSection.Compare(sName) == 0)
        {
            CopySection(i + 1);
            return true;
        }
    }
    return false;
}

void GetLanguageText(const char* pszKey, TxString& sText)
{
    int iKey = FindKeyLine(pszKey);
    if (iKey < 0)
        return;
    std::vector<char> joined;
    int iCount = g_LangSection.GetCount();
    for (int i = iKey + 1; i < iCount; ++i)
    {
        const TxString& sLine = *g_LangSection.StringAt(i);
        if (IsLangKeyLine(sLine.GetText()))
            break;
        if (i > iKey + 1)
            joined.push_back(' ');
        joined.insert(joined.end(), sLine.GetText(), sLine.GetText() + sLine.Length());
    }
    std::vector<char> result = ApplyLangEscapes(joined);
    if (result.empty())
        return;
    result.push_back(0);
    sText.Assign(result.data());
}

void SwitchLanguage(const TxString& sName, WORD wId)
{
    if (g_LangLines.GetCount() == 0)
        return;
    // An unknown name must not re-apply the texts of the section loaded before.
    if (!LoadLanguageSection(sName) || g_LangSection.GetCount() == 0)
        return;
    SetCurrentLanguage(sName, wId);
    TX_LOG("Switching to language: g_sLanguage=%s, g_LangId=%d, g_sLangEName=%s",
           g_sLanguage.GetText(), g_LangId, g_sLangEName.GetText());
    for (const CTextKey& key : g_TextKeys)
        ApplyText(key);
}
