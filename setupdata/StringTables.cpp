#include "StringTables.h"

#define QV_TEXT(name, english) TxString name;
#include "StringNames.inc"
#undef QV_TEXT

// The key text is the variable's own name, so the two cannot drift apart.
#define QV_TEXT(name, english) {#name, &name, english},
const CTextKey g_TextKeys[] = {
#include "StringNames.inc"
};
#undef QV_TEXT

void SetDefaultTexts()
{
    for (const CTextKey& key : g_TextKeys)
        key.pText->Assign(key.pszEnglish);
}
