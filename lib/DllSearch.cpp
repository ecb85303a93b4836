#include "DllSearch.h"

#include "TxSystemLibrary.h"

#include <iterator>
#include <windows.h>

namespace
{
using SetDefaultDllDirectoriesProc = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryAProc = BOOL(WINAPI*)(LPCSTR);

// LOAD_LIBRARY_SEARCH_SYSTEM32, spelled out for headers that predate it.
constexpr DWORD SEARCH_SYSTEM32 = 0x00000800;

// Loaded by name after the start by the theme, COM, the shell and the
// security and profile code. Kept loaded until the process ends.
const char* const LATE_LOADED_DLLS[] = {
    "uxtheme.dll", "dwmapi.dll",   "version.dll", "cryptbase.dll", "userenv.dll",
    "profapi.dll", "propsys.dll",  "ntmarta.dll", "sspicli.dll",   "msimg32.dll",
    "clbcatq.dll", "actxprxy.dll", "oleacc.dll",
};

template <class Proc> Proc KernelFunction(const char* pszName)
{
    return ModuleFunction<Proc>(GetModuleHandleA("kernel32.dll"), pszName);
}
} // namespace

const char* const* LateLoadedDlls(size_t& nCount)
{
    nCount = std::size(LATE_LOADED_DLLS);
    return LATE_LOADED_DLLS;
}

bool RestrictDllSearch()
{
    if (auto pfnSetDllDirectory = KernelFunction<SetDllDirectoryAProc>("SetDllDirectoryA"))
        pfnSetDllDirectory("");
    auto pfnSetDefault = KernelFunction<SetDefaultDllDirectoriesProc>("SetDefaultDllDirectories");
    if (pfnSetDefault != nullptr && pfnSetDefault(SEARCH_SYSTEM32))
        return true;
    PreloadLateLoadedDlls();
    return false;
}

void PreloadLateLoadedDlls()
{
    // A DLL missing from an older system is simply not there to be found.
    for (const char* pszName : LATE_LOADED_DLLS)
        LoadSystemLibrary(pszName);
}
