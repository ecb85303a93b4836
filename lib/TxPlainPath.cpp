#include "TxPlainPath.h"

#include <cstring>
#include <initializer_list>
#include <windows.h>

namespace
{
bool IsLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// "CON", "nul.txt", "COM1 ": names that open a device in any folder. The
// name is the cch characters at p.
bool IsDeviceName(const char* p, size_t cch)
{
    size_t cchBase = 0;
    while (cchBase < cch && p[cchBase] != '.')
        ++cchBase;
    while (cchBase > 0 && p[cchBase - 1] == ' ')
        --cchBase;
    char szBase[8] = "";
    if (cchBase >= sizeof(szBase))
        return false;
    for (size_t i = 0; i < cchBase; ++i)
        szBase[i] = Upper(p[i]);
    for (const char* pszName : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (std::strcmp(szBase, pszName) == 0)
            return true;
    return cchBase == 4 &&
           (std::strncmp(szBase, "COM", 3) == 0 || std::strncmp(szBase, "LPT", 3) == 0) &&
           szBase[3] >= '0' && szBase[3] <= '9';
}

bool IsPlainComponent(const char* p, size_t cch)
{
    size_t cchDots = 0;
    while (cchDots < cch && p[cchDots] == '.')
        ++cchDots;
    if (cch == 0 || cchDots == cch || p[cch - 1] == '.' || p[cch - 1] == ' ')
        return false;
    for (size_t i = 0; i < cch; ++i)
        if (static_cast<unsigned char>(p[i]) < 32 || std::strchr("*?\"<>|:", p[i]) != nullptr)
            return false;
    return !IsDeviceName(p, cch);
}
} // namespace

bool TxPlainFullPath(const char* pszPath, TxString& sFull)
{
    TxString sPath(pszPath != nullptr ? pszPath : "");
    sPath.ReplaceChar('/', '\\');
    const char* s = sPath.GetText();
    size_t cch = static_cast<size_t>(sPath.Length());
    // After "X:\" or the "\\" of a server: every level a plain name, a
    // server's share among them.
    bool bDrive = cch > 3 && IsLetter(s[0]) && s[1] == ':' && s[2] == '\\';
    bool bServer = cch > 2 && s[0] == '\\' && s[1] == '\\';
    if (!bDrive && !bServer)
        return false;
    int iLevels = 0;
    for (const char* p = s + (bDrive ? 3 : 2);; ++iLevels)
    {
        const char* pEnd = std::strchr(p, '\\');
        size_t cchLevel = pEnd != nullptr ? static_cast<size_t>(pEnd - p) : std::strlen(p);
        if (!IsPlainComponent(p, cchLevel))
            return false;
        if (pEnd == nullptr)
            break;
        p = pEnd + 1;
    }
    if (bServer && iLevels < 1)
        return false;
    char szFull[MAX_PATH * 2];
    DWORD n = GetFullPathNameA(s, sizeof(szFull), szFull, nullptr);
    if (n == 0 || n >= sizeof(szFull) || lstrcmpiA(szFull, s) != 0)
        return false;
    sFull = szFull;
    return true;
}

bool TxIsPlainFolder(const char* pszFolder)
{
    const char* p = pszFolder != nullptr ? pszFolder : "";
    if (IsLetter(p[0]) && p[1] == ':' && (p[2] == 0 || (IsSeparator(p[2]) && p[3] == 0)))
        return true;
    TxString sFull;
    return TxPlainFullPath(p, sFull);
}
