#include "StringTables.h"

#include "CLog.h"
#include "LanguageCatalogue.h"
#include "ProductNames.h"
#include "TxHandles.h"

#include <cstring>

namespace
{
// A failure is only logged: the installation counts as done without the texts.
bool OpenLanguageKey(TxRegKey& key)
{
    LONG lResult =
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, LANGUAGE_REG_KEY, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE, nullptr, key.Receive(), nullptr);
    if (lResult != ERROR_SUCCESS)
    {
        TX_LOG("StringTables - RegCreateKeyExA failed: key=%s, error=%ld", LANGUAGE_REG_KEY,
               lResult);
        return false;
    }
    return true;
}

void LogWriteFailure(const char* pszName, LONG lResult)
{
    TX_LOG("StringTables - RegSetValueExA failed: name=%s, error=%ld", pszName, lResult);
}

// The data is the text with its terminating zero, so an empty text is one byte.
void WriteText(HKEY hKey, const char* pszName, const TxString& sText)
{
    DWORD cbData = static_cast<DWORD>(sText.Length()) + 1;
    LONG lResult = RegSetValueExA(hKey, pszName, 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(sText.GetText()), cbData);
    if (lResult != ERROR_SUCCESS)
        LogWriteFailure(pszName, lResult);
}

void WriteDword(HKEY hKey, const char* pszName, DWORD dwValue)
{
    LONG lResult = RegSetValueExA(hKey, pszName, 0, REG_DWORD,
                                  reinterpret_cast<const BYTE*>(&dwValue), sizeof(dwValue));
    if (lResult != ERROR_SUCCESS)
        LogWriteFailure(pszName, lResult);
}

// Writes the texts of one key family ("gla_") in table order.
void WriteFamily(HKEY hKey, const char* pszPrefix)
{
    size_t cchPrefix = std::strlen(pszPrefix);
    for (const CTextKey& key : g_TextKeys)
    {
        if (std::strncmp(key.pszKey, pszPrefix, cchPrefix) == 0)
            WriteText(hKey, key.pszKey, *key.pText);
    }
}
} // namespace

void ExportLanguageToRegistry()
{
    TxRegKey key;
    if (!OpenLanguageKey(key))
        return;
    WriteText(key.Get(), "Language", g_sLanguage);
    WriteText(key.Get(), "LangEName", g_sLangEName);
    WriteDword(key.Get(), "LangId", g_LangId);
    WriteFamily(key.Get(), "glx_");
    WriteFamily(key.Get(), "gla_");
    WriteFamily(key.Get(), "gld_");
    WriteFamily(key.Get(), "glo_");
}

void ExportUninstallTextsToRegistry()
{
    TxRegKey key;
    if (!OpenLanguageKey(key))
        return;
    WriteFamily(key.Get(), "glu_");
}
