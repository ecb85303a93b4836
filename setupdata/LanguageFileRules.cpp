#include "LanguageFileRules.h"

#include <cstring>

namespace
{
char AsciiLower(char ch)
{
    return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
}

bool MatchesAt(const char* p, const char* pszKeyword)
{
    for (; *pszKeyword != 0; ++p, ++pszKeyword)
    {
        if (*p == 0 || AsciiLower(*p) != AsciiLower(*pszKeyword))
            return false;
    }
    return true;
}

void TrimInto(const char* pBegin, const char* pEnd, std::vector<char>& out)
{
    while (pBegin < pEnd && IsLangTrimChar(*pBegin))
        ++pBegin;
    while (pEnd > pBegin && IsLangTrimChar(pEnd[-1]))
        --pEnd;
    out.assign(pBegin, pEnd);
}

// Past one conversion that starts at the '%' p points to: flags, width,
// precision, length modifiers and the conversion letter (if any is left).
const char* SkipConversion(const char* p)
{
    ++p;
    p += std::strspn(p, "-+ #0");
    p += std::strspn(p, "0123456789*");
    if (*p == '.')
    {
        ++p;
        p += std::strspn(p, "0123456789*");
    }
    p += std::strspn(p, "hlLqjztI64");
    return *p != 0 ? p + 1 : p;
}
} // namespace

int FindLangKeyword(const char* pszText, const char* pszKeyword)
{
    for (const char* p = pszText; *p != 0; ++p)
    {
        if (MatchesAt(p, pszKeyword))
            return static_cast<int>(p - pszText);
    }
    return -1;
}

bool StartsWithLangKeyword(const char* pszText, const char* pszKeyword)
{
    return MatchesAt(pszText, pszKeyword);
}

bool IsLangKeyLine(const char* p)
{
    // Lines shorter than the prefix never match; the zero ends the tests early.
    return AsciiLower(p[0]) == 'g' && AsciiLower(p[1]) == 'l' && p[2] != 0 && p[3] == '_';
}

bool IsLangCommentLine(const char* pszTrimmed)
{
    return pszTrimmed[0] == 0 || std::strncmp(pszTrimmed, "//", 2) == 0;
}

void LangIdLineValue(const char* pszLine, std::vector<char>& value)
{
    std::vector<char> joined(pszLine, pszLine + std::strlen(pszLine));
    int iAt = FindLangKeyword(pszLine, LANG_KEYWORD_LANGID);
    if (iAt >= 0)
        joined.erase(joined.begin() + iAt, joined.begin() + iAt + LANG_KEYWORD_LANGID_LENGTH);
    std::vector<char> trimmed;
    TrimInto(joined.data(), joined.data() + joined.size(), trimmed);
    if (!trimmed.empty() && trimmed[0] == '=')
        TrimInto(trimmed.data() + 1, trimmed.data() + trimmed.size(), value);
    else
        value.swap(trimmed);
}

// Byte buffers rather than std::string: the string's out-of-line members
// would add tens of KiB to Setup.exe.
std::vector<char> ApplyLangEscapes(const std::vector<char>& in)
{
    std::vector<char> out;
    out.reserve(in.size());
    for (size_t i = 0; i < in.size(); ++i)
    {
        char chNext = i + 1 < in.size() ? AsciiLower(in[i + 1]) : 0;
        if (in[i] == '\\' && (chNext == 'r' || chNext == 'n'))
        {
            out.push_back(chNext == 'r' ? '\r' : '\n');
            ++i;
        }
        else
            out.push_back(in[i]);
    }
    return out;
}

bool NextFormatConversion(const char*& p, const char*& pEnd, LeadBytePredicate pLeadByte,
                          void* pContext)
{
    for (; *p != 0; ++p)
    {
        if (pLeadByte != nullptr && p[1] != 0 &&
            pLeadByte(static_cast<unsigned char>(*p), pContext))
        {
            ++p;
            continue;
        }
        if (*p != '%')
            continue;
        if (p[1] == '%')
        {
            ++p;
            continue;
        }
        pEnd = SkipConversion(p);
        return true;
    }
    return false;
}

bool SameFormatConversions(const char* pszText, const char* pszTemplate,
                           LeadBytePredicate pLeadByte, void* pContext)
{
    const char* pA = pszText;
    const char* pB = pszTemplate;
    for (;;)
    {
        const char* pEndA = nullptr;
        const char* pEndB = nullptr;
        bool bA = NextFormatConversion(pA, pEndA, pLeadByte, pContext);
        bool bB = NextFormatConversion(pB, pEndB, pLeadByte, pContext);
        if (!bA || !bB)
            return bA == bB;
        size_t cchA = static_cast<size_t>(pEndA - pA);
        if (cchA != static_cast<size_t>(pEndB - pB) || std::memcmp(pA, pB, cchA) != 0)
            return false;
        pA = pEndA;
        pB = pEndB;
    }
}
