#include "StringTables.h"

namespace
{
enum TextIndex
{
#define QV_TEXT(name, english) name##_INDEX,
#include "StringNames.inc"
#undef QV_TEXT
    TEXT_INDEX_END
};
static_assert(TEXT_INDEX_END == TEXT_KEY_COUNT, "StringNames.inc and TEXT_KEY_COUNT disagree");

// One array rather than a variable each: the program then registers one
// destructor at start-up instead of one per text (some 8 KiB of code).
TxString g_Texts[TEXT_KEY_COUNT];
} // namespace

#define QV_TEXT(name, english) TxString& name = g_Texts[name##_INDEX];
#include "StringNames.inc"
#undef QV_TEXT

// The key text is the variable's own name, so the two cannot drift apart.
#define QV_TEXT(name, english) {#name, &g_Texts[name##_INDEX], english},
const CTextKey g_TextKeys[] = {
#include "StringNames.inc"
};
#undef QV_TEXT

void SetDefaultTexts()
{
    for (const CTextKey& key : g_TextKeys)
        key.pText->Assign(key.pszEnglish);
}
