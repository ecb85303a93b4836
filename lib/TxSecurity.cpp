#include "TxSecurity.h"

#include "CLog.h"

#include <sddl.h>
#include <vector>

bool TxMakeSecurityDescriptor(const char* pszSddl, TxLocalMem& descriptor)
{
    PSECURITY_DESCRIPTOR pDescriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(pszSddl, SDDL_REVISION_1,
                                                              &pDescriptor, nullptr))
    {
        DWORD dwError = GetLastError();
        TX_LOG("TxMakeSecurityDescriptor - ConvertStringSecurityDescriptorToSecurityDescriptorA "
               "failed: sddl=%s, error=%lu",
               pszSddl, dwError);
        return false;
    }
    descriptor.Reset(pDescriptor);
    return true;
}

bool TxProcessUserSid(TxString& sSid)
{
    TxKernelHandle token;
    DWORD cbUser = 0;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Receive()))
    {
        TX_LOG("TxProcessUserSid - OpenProcessToken failed: error=%lu", GetLastError());
        return false;
    }
    GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &cbUser);
    std::vector<BYTE> user(cbUser > 0 ? cbUser : 1);
    char* pszSid = nullptr;
    if (!GetTokenInformation(token.Get(), TokenUser, user.data(), cbUser, &cbUser) ||
        !ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, &pszSid))
    {
        TX_LOG("TxProcessUserSid - user SID not read: error=%lu", GetLastError());
        return false;
    }
    TxLocalMem owned(pszSid);
    sSid = pszSid;
    return true;
}
