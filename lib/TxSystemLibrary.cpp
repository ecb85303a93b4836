#include "TxSystemLibrary.h"

HMODULE LoadSystemLibrary(const char* pszFileName)
{
    char szPath[MAX_PATH + 64];
    UINT n = GetSystemDirectoryA(szPath, MAX_PATH);
    if (n == 0 || n >= MAX_PATH || lstrlenA(pszFileName) > 62)
        return nullptr;
    lstrcatA(szPath, "\\");
    lstrcatA(szPath, pszFileName);
    return LoadLibraryA(szPath);
}
