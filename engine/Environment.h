#pragma once

#include "TxString.h"

// Fills the setup state from the program's location and the system: setup
// and image folders, special folders, default targets (or the folder of an
// earlier installation), the install plan and the images found. Logs each
// value it settles. Runs without any window.
void PrepareEnvironment(const char* pszProgramPath);

// Asks the shell for special folder iCsidl through "SHFOLDER.DLL" from the
// system folder. Returns the shell's status: 0 success, 1 (S_FALSE) folder
// does not exist, anything else an error (also when the library or the
// function is missing); sPath is empty unless the shell answered.
long QuerySpecialFolder(int iCsidl, TxString& sPath);

// Looks for "*.jpg" files (not folders) in g_sImgSrcDir and fills
// g_ImageFiles and g_qwImgSize.
void FindImages();
