#include "TokenRecord.h"

#include "TxHandles.h"

#include <windows.h>

void RecordTokenElevation(const char* pszProgram)
{
    TxRegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, TOKEN_RECORD_KEY, 0, KEY_SET_VALUE, key.Receive()) !=
        ERROR_SUCCESS)
        return;
    TxKernelHandle token;
    TOKEN_ELEVATION elevation = {};
    DWORD cb = 0;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Receive()) ||
        !GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof(elevation), &cb))
        return;
    DWORD dwElevated = elevation.TokenIsElevated;
    RegSetValueExA(key.Get(), pszProgram, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwElevated),
                   sizeof(dwElevated));
}
