#pragma once

#include <windows.h>

// Loads a library from the system folder by its full path, and the DLLs it
// imports from there too, so that a DLL planted beside the program (a
// download folder) is never used. Null when it
// cannot be loaded; the caller frees the module.
HMODULE LoadSystemLibrary(const char* pszFileName);

// The address of a function in a module, as the type the caller names; null
// when the module is null or lacks it.
template <class Proc> Proc ModuleFunction(HMODULE hModule, const char* pszName)
{
    if (hModule == nullptr)
        return nullptr;
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(hModule, pszName)));
}
