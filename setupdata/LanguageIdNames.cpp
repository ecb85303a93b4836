#include "LanguageIdNames.h"

#include "LanguageFileRules.h"

#include <cstring>

namespace
{
struct CLanguageIdName
{
    const char* pszName;
    unsigned wId;
};

#define QV_LANG(name, value) {#name, value},
const CLanguageIdName g_LanguageIds[] = {QV_LANGUAGE_IDS(QV_LANG)};
#undef QV_LANG

static_assert(sizeof(g_LanguageIds) / sizeof(g_LanguageIds[0]) == LANGUAGE_ID_NAME_COUNT,
              "71 LANG_ identifiers");

// The identifiers are plain ASCII: compare them without the locale, whose
// case rules (Turkish dotless i) could otherwise miss LANG_HINDI and others.
char AsciiUpper(char ch)
{
    return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch;
}

bool EqualsAsciiNoCase(const char* p, const char* pEnd, const char* pszName)
{
    for (; p < pEnd && *pszName != 0; ++p, ++pszName)
    {
        if (AsciiUpper(*p) != *pszName)
            return false;
    }
    return p == pEnd && *pszName == 0;
}
} // namespace

int FindLanguageIdByName(const char* pszName)
{
    const char* p = pszName;
    const char* pEnd = pszName + std::strlen(pszName);
    while (p < pEnd && IsLangTrimChar(*p))
        ++p;
    while (pEnd > p && IsLangTrimChar(pEnd[-1]))
        --pEnd;
    for (const CLanguageIdName& entry : g_LanguageIds)
    {
        if (EqualsAsciiNoCase(p, pEnd, entry.pszName))
            return static_cast<int>(entry.wId);
    }
    return -1;
}

const char* LanguageIdentifierOf(unsigned wId)
{
    for (const CLanguageIdName& entry : g_LanguageIds)
    {
        if (entry.wId == wId)
            return entry.pszName;
    }
    return nullptr;
}
