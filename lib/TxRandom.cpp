#include "TxRandom.h"

#include "TxSystemLibrary.h"

#include <windows.h>

namespace
{
using RtlGenRandomProc = BOOLEAN(WINAPI*)(PVOID, ULONG);

unsigned long long Mix(unsigned long long x)
{
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// What a process without the system's generator can gather.
void GatheredBytes(void* pBuffer, size_t cb)
{
    static unsigned long long s_qwState = 0;
    LARGE_INTEGER counter = {};
    QueryPerformanceCounter(&counter);
    FILETIME ft = {};
    GetSystemTimeAsFileTime(&ft);
    s_qwState = Mix(s_qwState ^ static_cast<unsigned long long>(counter.QuadPart));
    s_qwState = Mix(s_qwState ^
                    (static_cast<unsigned long long>(ft.dwHighDateTime) << 32 | ft.dwLowDateTime));
    s_qwState = Mix(s_qwState ^ (static_cast<unsigned long long>(GetCurrentProcessId()) << 32 |
                                 GetCurrentThreadId()));
    s_qwState = Mix(s_qwState ^ reinterpret_cast<ULONG_PTR>(&counter) ^ GetTickCount());
    BYTE* p = static_cast<BYTE*>(pBuffer);
    for (size_t i = 0; i < cb; ++i)
    {
        if (i % 8 == 0)
            s_qwState = Mix(s_qwState);
        p[i] = static_cast<BYTE>(s_qwState >> (8 * (i % 8)));
    }
}
} // namespace

void TxRandomBytes(void* pBuffer, size_t cb)
{
    static const RtlGenRandomProc s_pfn =
        ModuleFunction<RtlGenRandomProc>(GetModuleHandleA("advapi32.dll"), "SystemFunction036");
    if (s_pfn == nullptr || !s_pfn(pBuffer, static_cast<ULONG>(cb)))
        GatheredBytes(pBuffer, cb);
}

TxString TxRandomHex(int cDigits)
{
    static const char HEX[] = "0123456789abcdef";
    TxString s;
    BYTE bytes[32] = {};
    char szDigit[2] = {0, 0};
    for (int i = 0; i < cDigits; ++i)
    {
        if (i % 64 == 0)
            TxRandomBytes(bytes, sizeof(bytes));
        BYTE b = bytes[(i % 64) / 2];
        szDigit[0] = HEX[i % 2 == 0 ? b >> 4 : b & 0x0F];
        s.Append(szDigit);
    }
    return s;
}
