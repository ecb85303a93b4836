#include "TxSystemLibrary.h"

HMODULE LoadSystemLibrary(const char* pszFileName)
{
    char szPath[MAX_PATH + 64];
    UINT n = GetSystemDirectoryA(szPath, MAX_PATH);
    if (n == 0 || n >= MAX_PATH || lstrlenA(pszFileName) > 62)
        return nullptr;
    lstrcatA(szPath, "\\");
    lstrcatA(szPath, pszFileName);
    // Its own imports are then looked for from the system folder too, not
    // from the program's folder first.
    return LoadLibraryExA(szPath, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
