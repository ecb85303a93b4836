#pragma once

#include <windows.h>

// Creates a folder with all its missing parents and records every level it
// made in the install history, outermost first, so that the rollback removes
// them innermost first. Levels made before a failure stay recorded. Returns
// whether the folder exists afterwards. Every level made gets psa's security
// (null: what the folder above passes on).
bool CreateFolderRecorded(const char* pszFolder, const SECURITY_ATTRIBUTES* psa = nullptr);

// The same for a folder of the product's programs: every level made belongs
// to administrators (FOLDER_FOR_PROGRAMS). Nothing is made when that
// security cannot be built.
bool CreateProgramFolderRecorded(const char* pszFolder);
