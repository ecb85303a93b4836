#include "SetupInstance.h"

#include "CLog.h"
#include "TxString.h"

CSetupInstanceLock::CSetupInstanceLock(const char* pszName) : m_bOther(false)
{
    TxString sGlobal("Global\\");
    sGlobal.Append(pszName);
    // Systems without sessions know no Global namespace: the plain name.
    if (!Create(sGlobal.GetText()))
        Create(pszName);
}

bool CSetupInstanceLock::Create(const char* pszFullName)
{
    m_hMutex.Reset(CreateMutexA(nullptr, FALSE, pszFullName));
    DWORD dwError = GetLastError();
    if (m_hMutex.IsValid())
    {
        m_bOther = dwError == ERROR_ALREADY_EXISTS;
        return true;
    }
    if (dwError == ERROR_ACCESS_DENIED)
    {
        // Made by a setup of another account, whose rights keep this one out.
        m_bOther = true;
        return true;
    }
    TX_LOG("CSetupInstanceLock::Create - CreateMutexA failed: name=%s, error=%lu", pszFullName,
           dwError);
    return false;
}
