#include "TxFaultInjection.h"

#ifdef QV_FAULT_INJECTION
#include <windows.h>

namespace
{
long g_nFaultCount = 0;
long g_nFaultAt = 0;
} // namespace

bool TxFaultHit(TxFaultOp)
{
    if (++g_nFaultCount != g_nFaultAt)
        return false;
    SetLastError(ERROR_DISK_FULL);
    return true;
}

void TxFaultArm(long nFailAt)
{
    g_nFaultCount = 0;
    g_nFaultAt = nFailAt;
}

long TxFaultCount()
{
    return g_nFaultCount;
}
#endif
