#pragma once
// Bounded printf-style formatting through the system C library (msvcrt).
// The C99 printf that mingw links in instead adds about 25 KiB to every
// program; msvcrt's knows all conversions used here, with one difference to
// keep in mind: 64-bit integers are "%I64d", not "%lld".
#include <cstdarg>
#include <cstddef>

// Writes at most cchOut - 1 characters and always terminates the text when
// cchOut > 0; pszOut may be null when cchOut is 0. Returns the length of the
// whole text (as C99 snprintf), so a result >= cchOut means it was cut;
// -1 for an invalid format.
int TxPrint(char* pszOut, size_t cchOut, const char* pszFormat, ...)
    __attribute__((format(ms_printf, 3, 4)));
int TxPrintV(char* pszOut, size_t cchOut, const char* pszFormat, va_list args)
    __attribute__((format(ms_printf, 3, 0)));
