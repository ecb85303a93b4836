#pragma once

#include "TxString.h"

#include <windows.h>

// Primary language id of a LANG_ identifier as winnt.h defines it, e.g.
// "LANG_GERMAN" gives 7. The text is trimmed and its letter case ignored;
// any text that names no identifier gives 0 (LANG_NEUTRAL).
WORD LanguageIdFromName(const char* pszName);

// The upper-case English name of a primary language id ("GERMAN"), the
// identifier without its "LANG_" prefix; empty for 0 and unknown ids. Ids
// shared by two identifiers take the first of them (26 is "CROATIAN").
void LanguageEnglishName(WORD wId, TxString& sName);
