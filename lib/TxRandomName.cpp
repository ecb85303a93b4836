#include "TxRandomName.h"

#include "CLog.h"
#include "TxPrint.h"

#include <windows.h>
#include <ntsecapi.h>

TxString TxRandomName(const char* pszPrefix, const char* pszSuffix)
{
    unsigned long random[2] = {};
    // The generator behind the C runtime's rand_s, there since Windows XP.
    if (!RtlGenRandom(random, sizeof(random)))
    {
        TX_LOG("TxRandomName - RtlGenRandom failed: error=%lu", GetLastError());
        return TxString();
    }
    char szDigits[20];
    TxPrint(szDigits, sizeof(szDigits), "%08lX%08lX", random[0], random[1]);
    TxString sName(pszPrefix);
    sName.Append(szDigits);
    sName.Append(pszSuffix);
    return sName;
}
