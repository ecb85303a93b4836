#include "TxException.h"

#include "CLog.h"
#include "TxErrorText.h"
#include "TxHandles.h"

void ThrowLastError(bool bCritical)
{
    DWORD dwError = GetLastError();
    if (dwError == 0)
        return;
    char* pszSystemText = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, dwError,
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                   reinterpret_cast<char*>(&pszSystemText), 0, nullptr);
    TxLocalMem systemText(pszSystemText);
    TxString sText(pszSystemText);
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
