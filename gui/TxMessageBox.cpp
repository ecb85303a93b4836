#include "TxMessageBox.h"

#include "CLog.h"
#include "TxApplication.h"

int TxMessageBox(const char* pszText, const char* pszCaption, UINT uFlags)
{
    int iResult = MessageBoxA(Application.ActiveOwner(), pszText, pszCaption, uFlags);
    if (iResult == 0)
    {
        DWORD dwError = GetLastError();
        TX_LOG("TxMessageBox - MessageBoxA failed: caption=%s, error=%lu", pszCaption, dwError);
    }
    return iResult;
}
