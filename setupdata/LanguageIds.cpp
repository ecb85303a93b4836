#include "LanguageIds.h"

namespace
{
struct CLanguageIdName
{
    const char* pszName;
    WORD wId;
};

#define QV_LANG(name)                                                                              \
    {                                                                                              \
#name, name                                                                                \
    }

// Ordered so that the first name of a shared id is its English name.
const CLanguageIdName g_LanguageIds[] = {
    QV_LANG(LANG_NEUTRAL),   QV_LANG(LANG_AFRIKAANS),  QV_LANG(LANG_ALBANIAN),
    QV_LANG(LANG_ARABIC),    QV_LANG(LANG_ARMENIAN),   QV_LANG(LANG_ASSAMESE),
    QV_LANG(LANG_AZERI),     QV_LANG(LANG_BASQUE),     QV_LANG(LANG_BELARUSIAN),
    QV_LANG(LANG_BENGALI),   QV_LANG(LANG_BULGARIAN),  QV_LANG(LANG_CATALAN),
    QV_LANG(LANG_CHINESE),   QV_LANG(LANG_CROATIAN),   QV_LANG(LANG_CZECH),
    QV_LANG(LANG_DANISH),    QV_LANG(LANG_DUTCH),      QV_LANG(LANG_ENGLISH),
    QV_LANG(LANG_ESTONIAN),  QV_LANG(LANG_FAEROESE),   QV_LANG(LANG_FARSI),
    QV_LANG(LANG_FINNISH),   QV_LANG(LANG_FRENCH),     QV_LANG(LANG_GEORGIAN),
    QV_LANG(LANG_GERMAN),    QV_LANG(LANG_GREEK),      QV_LANG(LANG_GUJARATI),
    QV_LANG(LANG_HEBREW),    QV_LANG(LANG_HINDI),      QV_LANG(LANG_HUNGARIAN),
    QV_LANG(LANG_ICELANDIC), QV_LANG(LANG_INDONESIAN), QV_LANG(LANG_ITALIAN),
    QV_LANG(LANG_JAPANESE),  QV_LANG(LANG_KANNADA),    QV_LANG(LANG_KASHMIRI),
    QV_LANG(LANG_KAZAK),     QV_LANG(LANG_KONKANI),    QV_LANG(LANG_KOREAN),
    QV_LANG(LANG_LATVIAN),   QV_LANG(LANG_LITHUANIAN), QV_LANG(LANG_MACEDONIAN),
    QV_LANG(LANG_MALAY),     QV_LANG(LANG_MALAYALAM),  QV_LANG(LANG_MANIPURI),
    QV_LANG(LANG_MARATHI),   QV_LANG(LANG_NEPALI),     QV_LANG(LANG_NORWEGIAN),
    QV_LANG(LANG_ORIYA),     QV_LANG(LANG_POLISH),     QV_LANG(LANG_PORTUGUESE),
    QV_LANG(LANG_PUNJABI),   QV_LANG(LANG_ROMANIAN),   QV_LANG(LANG_RUSSIAN),
    QV_LANG(LANG_SANSKRIT),  QV_LANG(LANG_SERBIAN),    QV_LANG(LANG_SINDHI),
    QV_LANG(LANG_SLOVAK),    QV_LANG(LANG_SLOVENIAN),  QV_LANG(LANG_SPANISH),
    QV_LANG(LANG_SWAHILI),   QV_LANG(LANG_SWEDISH),    QV_LANG(LANG_TAMIL),
    QV_LANG(LANG_TATAR),     QV_LANG(LANG_TELUGU),     QV_LANG(LANG_THAI),
    QV_LANG(LANG_TURKISH),   QV_LANG(LANG_UKRAINIAN),  QV_LANG(LANG_URDU),
    QV_LANG(LANG_UZBEK),     QV_LANG(LANG_VIETNAMESE),
};

#undef QV_LANG

static_assert(sizeof(g_LanguageIds) / sizeof(g_LanguageIds[0]) == 71, "71 LANG_ identifiers");

const int LANG_PREFIX_LENGTH = 5; // "LANG_"

// The identifiers are plain ASCII: compare them without the locale, whose
// case rules (Turkish dotless i) could otherwise miss LANG_HINDI and others.
char AsciiUpper(char ch)
{
    return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch;
}

bool EqualsAsciiNoCase(const TxString& s, const char* pszName)
{
    const char* p = s.GetText();
    for (; *p != 0 && *pszName != 0; ++p, ++pszName)
    {
        if (AsciiUpper(*p) != *pszName)
            return false;
    }
    return *p == 0 && *pszName == 0;
}
} // namespace

WORD LanguageIdFromName(const char* pszName)
{
    TxString sName(pszName);
    sName.Trim();
    for (const CLanguageIdName& entry : g_LanguageIds)
    {
        if (EqualsAsciiNoCase(sName, entry.pszName))
            return entry.wId;
    }
    return LANG_NEUTRAL;
}

void LanguageEnglishName(WORD wId, TxString& sName)
{
    sName.Assign("");
    if (wId == LANG_NEUTRAL)
        return;
    for (const CLanguageIdName& entry : g_LanguageIds)
    {
        if (entry.wId == wId)
        {
            sName.Assign(entry.pszName + LANG_PREFIX_LENGTH);
            return;
        }
    }
}
