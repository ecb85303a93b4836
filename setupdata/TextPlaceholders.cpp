#include "TextPlaceholders.h"

#include <cstring>
#include <windows.h>

namespace
{
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

// The next conversion at or after p: its start and end, or false at the end.
// With a code page given, a lead byte of it takes its trail byte along.
bool NextConversion(const char*& p, const char*& pEnd, const UINT* pCodePage)
{
    for (; *p != 0; ++p)
    {
        if (pCodePage != nullptr && p[1] != 0 &&
            IsDBCSLeadByteEx(*pCodePage, static_cast<BYTE>(*p)))
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

bool SameConversions(const char* pszText, const char* pszTemplate, const UINT* pCodePage)
{
    const char* pA = pszText;
    const char* pB = pszTemplate;
    for (;;)
    {
        const char* pEndA = nullptr;
        const char* pEndB = nullptr;
        bool bA = NextConversion(pA, pEndA, pCodePage);
        bool bB = NextConversion(pB, pEndB, pCodePage);
        if (!bA || !bB)
            return bA == bB;
        size_t cchA = static_cast<size_t>(pEndA - pA);
        if (cchA != static_cast<size_t>(pEndB - pB) || std::memcmp(pA, pB, cchA) != 0)
            return false;
        pA = pEndA;
        pB = pEndB;
    }
}
} // namespace

bool SamePlaceholders(const char* pszText, const char* pszTemplate, unsigned uCodePage)
{
    UINT uPage = uCodePage;
    return SameConversions(pszText, pszTemplate, nullptr) &&
           SameConversions(pszText, pszTemplate, &uPage);
}
