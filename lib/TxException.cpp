#include "TxException.h"

#include "CLog.h"
#include "TxErrorText.h"
#include "TxPaths.h"

void ThrowLastError(bool bCritical)
{
    DWORD dwError = GetLastError();
    if (dwError == 0)
        return;
    TxString sText = TxSystemErrorText(dwError);
    TX_LOG("Throwing exception: %s", sText.GetText());
    if (bCritical)
        throw ExCritical(sText.GetText());
    throw ExNormal(sText.GetText());
}

void ThrowLibraryError(int iIndex, const char* pszFileName)
{
    TxString sText;
    FormatErrorText(iIndex, pszFileName, sText);
    throw ExNormal(sText.GetText());
}
