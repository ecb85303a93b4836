#include "LanguageCheck.h"

#include "EngineTestSupport.h"
#include "LanguageCatalogue.h"
#include "StringTables.h"
#include "TextPlaceholders.h"
#include "TxFormat.h"
#include "TxHandles.h"

#include <cstdio>
#include <vector>

namespace
{
const int MAX_SWITCHES = 40;

bool Complain(const char* pszWhat, const char* pszDetail)
{
    std::fprintf(stderr, "language: %s: %s\n", pszWhat, pszDetail);
    return false;
}

// Every text must stay usable as the format its English text is.
bool TextsSound()
{
    for (const CTextKey& key : g_TextKeys)
    {
        if (key.pText->IsEmpty())
            return Complain("empty text", key.pszKey);
        if (!SamePlaceholders(key.pText->GetText(), key.pszEnglish))
            return Complain("placeholders differ", key.pszKey);
        TxFormat(key.pText->GetText(), {"C:\\x", 42, "y"});
    }
    return true;
}

bool UnknownNameChangesNothing()
{
    TxString sBefore(g_sLanguage);
    WORD wBefore = g_LangId;
    // Section names are trimmed, so no section can carry these.
    SwitchLanguage(TxString(" No such language "), 7);
    SwitchLanguage(TxString("\t"), 0);
    return (g_sLanguage.Compare(sBefore) == 0 && g_LangId == wBefore) ||
           Complain("unknown name switched", sBefore.GetText());
}

bool ReadValue(HKEY hKey, const char* pszName, std::vector<char>& data, DWORD& dwType)
{
    DWORD cb = 0;
    if (RegQueryValueExA(hKey, pszName, nullptr, &dwType, nullptr, &cb) != ERROR_SUCCESS)
        return false;
    data.assign(cb + 1, 0);
    return RegQueryValueExA(hKey, pszName, nullptr, &dwType, reinterpret_cast<BYTE*>(data.data()),
                            &cb) == ERROR_SUCCESS;
}

bool RegistryText(HKEY hKey, const char* pszName, const TxString& sExpected)
{
    std::vector<char> data;
    DWORD dwType = 0;
    if (!ReadValue(hKey, pszName, data, dwType) || dwType != REG_SZ)
        return Complain("registry value missing", pszName);
    return sExpected.Compare(data.data()) == 0 || Complain("registry value differs", pszName);
}

bool RegistryMatches()
{
    TxRegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, LANGUAGE_TEST_REG_KEY, 0, KEY_READ, key.Receive()) !=
        ERROR_SUCCESS)
        return Complain("registry key missing", LANGUAGE_TEST_REG_KEY);
    bool bOk = RegistryText(key.Get(), "Language", g_sLanguage) &&
               RegistryText(key.Get(), "LangEName", g_sLangEName);
    std::vector<char> data;
    DWORD dwType = 0;
    if (!ReadValue(key.Get(), "LangId", data, dwType) || dwType != REG_DWORD ||
        *reinterpret_cast<DWORD*>(data.data()) != g_LangId)
        bOk = Complain("registry value differs", "LangId");
    for (const CTextKey& k : g_TextKeys)
    {
        if (std::string(k.pszKey).compare(0, 4, "gls_") != 0)
            bOk = RegistryText(key.Get(), k.pszKey, *k.pText) && bOk;
    }
    return bOk;
}
} // namespace

CLanguageCheck::CLanguageCheck(const std::string& sFolder) : m_sPath(sFolder + "\\SetupLang.dat") {}

CLanguageCheck::~CLanguageCheck()
{
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, LANGUAGE_TEST_REG_KEY);
}

bool CLanguageCheck::Check(const std::string& sFile, bool bReadBack)
{
    WriteWholeFile(m_sPath, sFile);
    SetDefaultTexts();
    TxCollection list(32, 64);
    TxString sDefault;
    LoadLanguages(list, sDefault, m_sPath.c_str());
    if (list.GetCount() < 1)
        return Complain("no language listed", "");
    bool bOk = TextsSound();
    for (int i = 0; i < list.GetCount() && i < MAX_SWITCHES && bOk; ++i)
    {
        const COneLanguage& lang = *static_cast<COneLanguage*>(list.At(i));
        SwitchLanguage(lang.sLanguage, lang.LangId);
        bOk = TextsSound() && UnknownNameChangesNothing();
    }
    ExportLanguageToRegistry();
    ExportUninstallTextsToRegistry();
    if (bOk && bReadBack)
        bOk = RegistryMatches();
    return bOk;
}
