#pragma once

#include "TxCollection.h"

#include <windows.h>

// One language section of the language file, as the welcome step lists it.
class COneLanguage : public TxObject
{
public:
    COneLanguage() : LangId(0) {}
    ~COneLanguage() override = default;

    TxString sLanguage;  // name as written after the section keyword
    WORD LangId;         // primary language id from the section's LANGID line
    TxString sLangEName; // upper-case English name of LangId
};

// Every line of the language file; section-start lines are kept trimmed.
extern TxStringCollection g_LangLines;
// Trimmed text lines of the section loaded last, without comments and blanks.
extern TxStringCollection g_LangSection;
// The current language: its name in the file, primary id and English name.
extern TxString g_sLanguage;
extern WORD g_LangId;
extern TxString g_sLangEName;

constexpr char LANGUAGE_FILE_NAME[] = "SetupLang.dat";

// sDir followed by a backslash (unless it ends in one) and "SetupLang.dat".
void LanguageFilePath(const char* pszDir, TxString& sPath);

// Reads the language file beside the running program; see the overload.
void LoadLanguages(TxCollection& list, TxString& sDefaultName);
// Reads pszFile into g_LangLines and fills list with one COneLanguage per
// section that has a LANGID line (the list owns them). sDefaultName receives
// the section matching the system language, else "English". A file that
// cannot be read leaves the single built-in "English" entry; nothing is thrown
// but ExCritical.
void LoadLanguages(TxCollection& list, TxString& sDefaultName, const char* pszFile);

// Fills g_LangSection from the first section named sName. Returns false, with
// g_LangSection unchanged, when there is no such section.
bool LoadLanguageSection(const TxString& sName);

// Assigns the text of pszKey in g_LangSection to sText; a missing key or an
// empty text leaves sText as it was.
void GetLanguageText(const char* pszKey, TxString& sText);

// Makes the named section current and applies its texts to the string-table
// variables. Keys the section lacks keep their present texts.
void SwitchLanguage(const TxString& sName, WORD wId);
