#include "TxPlainPath.h"

#include <cstring>
#include <string>
#include <windows.h>

namespace
{
bool IsLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// "CON", "nul.txt", "COM1 ": names that open a device in any folder.
bool IsDeviceName(const std::string& sComponent)
{
    std::string sBase = sComponent.substr(0, sComponent.find('.'));
    while (!sBase.empty() && sBase.back() == ' ')
        sBase.pop_back();
    for (char& c : sBase)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    for (const char* pszName : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (sBase == pszName)
            return true;
    return sBase.size() == 4 &&
           (sBase.compare(0, 3, "COM") == 0 || sBase.compare(0, 3, "LPT") == 0) &&
           sBase[3] >= '0' && sBase[3] <= '9';
}

bool IsPlainComponent(const std::string& sComponent)
{
    if (sComponent.empty() || sComponent.find_first_not_of('.') == std::string::npos)
        return false;
    if (sComponent.back() == '.' || sComponent.back() == ' ')
        return false;
    for (char c : sComponent)
        if (static_cast<unsigned char>(c) < 32 || std::strchr("*?\"<>|:", c) != nullptr)
            return false;
    return !IsDeviceName(sComponent);
}
} // namespace

bool TxPlainFullPath(const char* pszPath, TxString& sFull)
{
    std::string s(pszPath != nullptr ? pszPath : "");
    for (char& c : s)
        if (c == '/')
            c = '\\';
    // After "X:\" or the "\\" of a server: every level a plain name, a
    // server's share among them.
    bool bDrive = s.size() > 3 && IsLetter(s[0]) && s[1] == ':' && s[2] == '\\';
    bool bServer = s.size() > 2 && s[0] == '\\' && s[1] == '\\';
    if (!bDrive && !bServer)
        return false;
    int iLevels = 0;
    for (size_t nBegin = bDrive ? 3 : 2;; ++iLevels)
    {
        size_t nEnd = s.find('\\', nBegin);
        if (!IsPlainComponent(s.substr(nBegin, nEnd - nBegin)))
            return false;
        if (nEnd == std::string::npos)
            break;
        nBegin = nEnd + 1;
    }
    if (bServer && iLevels < 1)
        return false;
    char szFull[MAX_PATH * 2];
    DWORD n = GetFullPathNameA(s.c_str(), sizeof(szFull), szFull, nullptr);
    if (n == 0 || n >= sizeof(szFull) || lstrcmpiA(szFull, s.c_str()) != 0)
        return false;
    sFull = szFull;
    return true;
}

bool TxIsPlainFolder(const char* pszFolder)
{
    const char* p = pszFolder != nullptr ? pszFolder : "";
    if (IsLetter(p[0]) && p[1] == ':' &&
        (p[2] == 0 || ((p[2] == '\\' || p[2] == '/') && p[3] == 0)))
        return true;
    TxString sFull;
    return TxPlainFullPath(p, sFull);
}
