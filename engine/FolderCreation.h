#pragma once

// Creates a folder with all its missing parents and records every level it
// made in the install history, outermost first, so that the rollback removes
// them innermost first. Levels made before a failure stay recorded. Returns
// whether the folder exists afterwards.
bool CreateFolderRecorded(const char* pszFolder);
