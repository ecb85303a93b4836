#include "DllSearch.h"

#include <windows.h>

namespace
{
using SetDefaultDllDirectoriesProc = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryAProc = BOOL(WINAPI*)(LPCSTR);

// LOAD_LIBRARY_SEARCH_SYSTEM32, spelled out for headers that predate it.
constexpr DWORD SEARCH_SYSTEM32 = 0x00000800;

template <class Proc> Proc KernelFunction(const char* pszName)
{
    HMODULE hKernel = GetModuleHandleA("kernel32.dll");
    if (hKernel == nullptr)
        return nullptr;
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(hKernel, pszName)));
}
} // namespace

bool RestrictDllSearch()
{
    if (auto pfnSetDllDirectory = KernelFunction<SetDllDirectoryAProc>("SetDllDirectoryA"))
        pfnSetDllDirectory("");
    auto pfnSetDefault = KernelFunction<SetDefaultDllDirectoriesProc>("SetDefaultDllDirectories");
    return pfnSetDefault != nullptr && pfnSetDefault(SEARCH_SYSTEM32) != FALSE;
}
