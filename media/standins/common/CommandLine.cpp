#include "CommandLine.h"

#include <cctype>
#include <cstring>

namespace
{
bool SameLetters(const char* pA, const char* pB, size_t n)
{
    for (size_t i = 0; i < n; ++i)
    {
        if (std::tolower(static_cast<unsigned char>(pA[i])) !=
            std::tolower(static_cast<unsigned char>(pB[i])))
            return false;
    }
    return true;
}

bool IsSeparator(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '"';
}

// Where the switch's name ends ("/name", "/name:value"); null when missing.
const char* FindSwitch(const char* pszCmdLine, const char* pszName)
{
    if (pszCmdLine == nullptr || pszName == nullptr)
        return nullptr;
    size_t nName = std::strlen(pszName);
    for (const char* p = pszCmdLine; *p != 0; ++p)
    {
        bool bWordStart = p == pszCmdLine || IsSeparator(p[-1]);
        if (!bWordStart || (*p != '/' && *p != '-'))
            continue;
        if (std::strlen(p + 1) < nName || !SameLetters(p + 1, pszName, nName))
            continue;
        char chEnd = p[1 + nName];
        if (chEnd == 0 || chEnd == ':' || IsSeparator(chEnd))
            return p + 1 + nName;
    }
    return nullptr;
}
} // namespace

bool HasSwitch(const char* pszCmdLine, const char* pszName)
{
    return FindSwitch(pszCmdLine, pszName) != nullptr;
}

std::string SwitchValue(const char* pszCmdLine, const char* pszName)
{
    const char* p = FindSwitch(pszCmdLine, pszName);
    if (p == nullptr || *p != ':')
        return std::string();
    ++p;
    if (*p == '"')
    {
        const char* pEnd = std::strchr(p + 1, '"');
        return pEnd ? std::string(p + 1, pEnd) : std::string(p + 1);
    }
    const char* pEnd = p;
    while (*pEnd != 0 && !IsSeparator(*pEnd))
        ++pEnd;
    return std::string(p, pEnd);
}
