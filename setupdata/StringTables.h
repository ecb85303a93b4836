#pragma once

#include "TxString.h"

// One interface text: its key (also the language file key and the registry
// value name), the variable that holds the current text and its built-in
// English text.
struct CTextKey
{
    const char* pszKey;
    TxString* pText;
    const char* pszEnglish;
};

constexpr int TEXT_KEY_COUNT = 122;

// Every key in lookup order: "glx_", "gls_", "glu_", "gla_", "gld_", "glo_",
// each family in its table order. Default texts, language switches and the
// registry export all walk this one table.
extern const CTextKey g_TextKeys[TEXT_KEY_COUNT];

// Gives every text variable its built-in English text.
void SetDefaultTexts();

// Writes "Language", "LangEName", "LangId" and the "glx_", "gla_", "gld_" and
// "glo_" texts under HKLM\Software\Kestov\Quorvane\Language for the product's
// other programs. Returns without writing when the key cannot be opened.
void ExportLanguageToRegistry();
// Writes the "glu_" texts to the same key, for the uninstaller.
void ExportUninstallTextsToRegistry();

// One variable per key, named as the key (StringNames.inc).
#define QV_TEXT(name, english) extern TxString& name;
#include "StringNames.inc"
#undef QV_TEXT
