#include "TextPlaceholders.h"

#include <cstring>

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
bool NextConversion(const char*& p, const char*& pEnd)
{
    for (; *p != 0; ++p)
    {
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
} // namespace

bool SamePlaceholders(const char* pszText, const char* pszTemplate)
{
    const char* pA = pszText;
    const char* pB = pszTemplate;
    for (;;)
    {
        const char* pEndA = nullptr;
        const char* pEndB = nullptr;
        bool bA = NextConversion(pA, pEndA);
        bool bB = NextConversion(pB, pEndB);
        if (!bA || !bB)
            return bA == bB;
        size_t cchA = static_cast<size_t>(pEndA - pA);
        if (cchA != static_cast<size_t>(pEndB - pB) || std::memcmp(pA, pB, cchA) != 0)
            return false;
        pA = pEndA;
        pB = pEndB;
    }
}
