#include "LanguageIds.h"

#include "LanguageIdNames.h"

// The shared list must agree with the system's own definitions.
#define QV_LANG_AGREES(name, value) static_assert(name == (value), #name);
QV_LANGUAGE_IDS(QV_LANG_AGREES)
#undef QV_LANG_AGREES

WORD LanguageIdFromName(const char* pszName)
{
    int iId = FindLanguageIdByName(pszName);
    return iId < 0 ? static_cast<WORD>(LANG_NEUTRAL) : static_cast<WORD>(iId);
}

void LanguageEnglishName(WORD wId, TxString& sName)
{
    sName.Assign("");
    const char* pszIdentifier = LanguageIdentifierOf(wId);
    if (wId != LANG_NEUTRAL && pszIdentifier != nullptr)
        sName.Assign(pszIdentifier + LANGUAGE_ID_PREFIX_LENGTH);
}
