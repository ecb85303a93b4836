#include "TxSizeText.h"

#include "TxPrint.h"

#include <cstring>
#include <windows.h>

void FormatSize(long long qwBytes, TxString* pOut)
{
    if (pOut == nullptr)
        return;
    char szDecimal[5] = ".";
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, szDecimal, sizeof(szDecimal)) == 0 ||
        szDecimal[0] == 0)
        std::strcpy(szDecimal, ".");
    char szText[64];
    if (qwBytes < 1024)
    {
        TxPrint(szText, sizeof(szText), "%u %s", static_cast<unsigned>(qwBytes), "B");
        pOut->Assign(szText);
        return;
    }
    double dDivisor = 1073741824.0;
    const char* pszUnit = "GB";
    if (qwBytes < 1048576)
    {
        dDivisor = 1024.0;
        pszUnit = "kB";
    }
    else if (qwBytes < 1073741824)
    {
        dDivisor = 1048576.0;
        pszUnit = "MB";
    }
    double q = static_cast<double>(qwBytes) / dDivisor;
    const char* pszFormat = q < 10.0 ? "%.2f %s" : q < 100.0 ? "%.1f %s" : "%.0f %s";
    TxPrint(szText, sizeof(szText), pszFormat, q, pszUnit);
    char* pPoint = std::strchr(szText, '.');
    if (pPoint != nullptr)
        *pPoint = szDecimal[0];
    pOut->Assign(szText);
}
