#include "LanguageChoice.h"

#include "CLog.h"
#include "LanguageCatalogue.h"
#include "StringTables.h"

int FindLanguage(const TxCollection& languages, const char* pszWanted)
{
    if (pszWanted == nullptr || pszWanted[0] == 0)
        return -1;
    for (int i = 0; i < languages.GetCount(); ++i)
    {
        const auto* pLanguage = static_cast<const COneLanguage*>(languages.At(i));
        if (pLanguage->sLanguage.Compare(pszWanted) == 0 ||
            pLanguage->sLangEName.Compare(pszWanted) == 0)
            return i;
    }
    return -1;
}

TxString LoadStartLanguage(const char* pszWanted)
{
    TxCollection languages(32, 64);
    TxString sDefault;
    LoadLanguages(languages, sDefault);
    SetDefaultTexts();
    int iChosen = FindLanguage(languages, pszWanted);
    if (iChosen < 0 && pszWanted != nullptr && pszWanted[0] != 0)
        TX_LOG("LoadStartLanguage - language not in the language file: name=%s", pszWanted);
    // The welcome step's choice: the system's language, matched by its name.
    for (int i = 0; iChosen < 0 && i < languages.GetCount(); ++i)
        if (static_cast<const COneLanguage*>(languages.At(i))->sLanguage.Compare(sDefault) == 0)
            iChosen = i;
    if (iChosen < 0)
        return TxString();
    const auto* pLanguage = static_cast<const COneLanguage*>(languages.At(iChosen));
    TxString sName(pLanguage->sLanguage);
    SwitchLanguage(sName, pLanguage->LangId);
    return sName;
}
