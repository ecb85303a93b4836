#pragma once

// The setup's text keys with their built-in English texts, made from the one
// list the setup's string tables are made from; plain C++, so the tool reads
// them the same on Linux and Windows.
struct CEnglishText
{
    const char* pszKey;
    const char* pszEnglish;
};

inline constexpr CEnglishText g_EnglishTexts[] = {
#define QV_TEXT(name, english) {#name, english},
#include "StringNames.inc"
#undef QV_TEXT
};
