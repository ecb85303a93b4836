#include "TxPaths.h"

#include "TxHandles.h"

#include <vector>

TxString TxJoinPath(const char* pszFolder, const char* pszName)
{
    TxString sPath(pszFolder);
    char chLast = sPath.IsEmpty() ? 0 : *sPath.CharAt(sPath.Length());
    if (chLast != '\\' && chLast != '/')
        sPath.Append("\\");
    sPath.Append(pszName);
    return sPath;
}

TxString TxProgramPath()
{
    std::vector<char> buffer(MAX_PATH);
    // Long paths ("\\?\" prefixes, deep folders) need more than MAX_PATH.
    while (buffer.size() <= 32768)
    {
        DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return TxString();
        if (n < buffer.size())
            return TxString(buffer.data());
        buffer.resize(buffer.size() * 2);
    }
    return TxString();
}

TxString TxProgramFolder()
{
    TxString sPath = TxProgramPath();
    int iBackslash = sPath.Find("\\", false, true, sPath.Length());
    int iSlash = sPath.Find("/", false, true, sPath.Length());
    int iSep = iBackslash > iSlash ? iBackslash : iSlash;
    sPath.SetLength(iSep > 0 ? iSep - 1 : 0);
    return sPath;
}

TxString TxSystemErrorText(DWORD dwError)
{
    char* pszText = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, dwError, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                   reinterpret_cast<char*>(&pszText), 0, nullptr);
    TxLocalMem text(pszText);
    return TxString(pszText != nullptr ? pszText : "");
}
