#include "ElevationRecord.h"

#include "MessagePump.h"
#include "TestSupport.h"
#include "TokenRecord.h"

#include <gtest/gtest.h>

ElevationRecord::ElevationRecord()
{
    // Fresh: nothing an earlier run wrote counts.
    RegDeleteKeyA(HKEY_CURRENT_USER, TOKEN_RECORD_KEY);
    EXPECT_TRUE(MakeRegKey(TOKEN_RECORD_KEY, HKEY_CURRENT_USER));
}

ElevationRecord::~ElevationRecord()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, TOKEN_RECORD_KEY);
}

int ElevationRecord::WaitFor(const char* pszProgram, DWORD dwTimeoutMs) const
{
    DWORD dwElevated = 0;
    auto read = [&]
    { return ReadRegDword(TOKEN_RECORD_KEY, pszProgram, dwElevated, HKEY_CURRENT_USER); };
    return WaitUntil(read, dwTimeoutMs) ? static_cast<int>(dwElevated) : -1;
}
