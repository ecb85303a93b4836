#include "TxPrint.h"

#include <cstdio>

int TxPrintV(char* pszOut, size_t cchOut, const char* pszFormat, va_list args)
{
    va_list measure;
    va_copy(measure, args);
    int n = -1;
    if (pszOut != nullptr && cchOut > 0)
    {
        // msvcrt returns -1 for a cut text and leaves it unterminated.
        n = _vsnprintf(pszOut, cchOut - 1, pszFormat, args);
        pszOut[n >= 0 ? static_cast<size_t>(n) : cchOut - 1] = 0;
    }
    if (n < 0)
        n = _vscprintf(pszFormat, measure);
    va_end(measure);
    return n;
}

int TxPrint(char* pszOut, size_t cchOut, const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    int n = TxPrintV(pszOut, cchOut, pszFormat, args);
    va_end(args);
    return n;
}
