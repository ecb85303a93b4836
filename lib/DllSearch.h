#pragma once

#include <cstddef>

// Restricts the loading of DLLs to the system folder where Windows offers
// it, and takes the current folder out of the search: the setup often runs
// from a download folder, the uninstaller from a program folder, and other
// files can be planted in either. Looked up at run time, so that older
// systems still start. Where the restriction is missing (Windows Vista, 7
// without KB2533623), the program's own folder stays first in the search:
// the DLLs that the system and the shell load later by name are then loaded
// here once by their full system-folder path, so that those later loads find
// them loaded. True when the system folder restriction is in force.
bool RestrictDllSearch();

// The fallback alone: loads each late-loaded DLL from the system folder.
void PreloadLateLoadedDlls();

// The DLLs loaded by name after the start (themes, COM, the shell, security,
// profiles), which the fallback loads up front; nCount receives how many.
const char* const* LateLoadedDlls(size_t& nCount);
