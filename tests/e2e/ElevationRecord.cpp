#include "ElevationRecord.h"

#include "MessagePump.h"
#include "TestSupport.h"
#include "TokenRecord.h"
#include "TxHandles.h"

ElevationRecord::ElevationRecord()
{
    // Fresh: nothing an earlier run wrote counts.
    RegDeleteKeyA(HKEY_CURRENT_USER, TOKEN_RECORD_KEY);
    TxRegKey key(OpenUserKeyForChange(TOKEN_RECORD_KEY));
}

ElevationRecord::~ElevationRecord()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, TOKEN_RECORD_KEY);
}

int ElevationRecord::WaitFor(const char* pszProgram, DWORD dwTimeoutMs) const
{
    DWORD dwElevated = 0;
    auto read = [&]
    {
        TxRegKey key;
        DWORD cb = sizeof(dwElevated);
        return RegOpenKeyExA(HKEY_CURRENT_USER, TOKEN_RECORD_KEY, 0, KEY_QUERY_VALUE,
                             key.Receive()) == ERROR_SUCCESS &&
               RegQueryValueExA(key.Get(), pszProgram, nullptr, nullptr,
                                reinterpret_cast<BYTE*>(&dwElevated), &cb) == ERROR_SUCCESS;
    };
    return WaitUntil(read, dwTimeoutMs) ? static_cast<int>(dwElevated) : -1;
}
