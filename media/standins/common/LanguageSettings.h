#pragma once

#include "TxString.h"

#include <windows.h>

// The interface language the setup recorded for the product's programs.
struct LanguageSettings
{
    bool bHasLanguage = false;
    bool bHasEName = false;
    bool bHasId = false;
    TxString sLanguage;  // "Language": the language's own name
    TxString sLangEName; // "LangEName": upper-case English name, e.g. "GERMAN"
    DWORD dwLangId = 0;  // "LangId": primary language id
};

// Reads the values under HKLM\Software\Kestov\Quorvane\Language; a missing
// value leaves its flag false.
LanguageSettings ReadLanguageSettings();
