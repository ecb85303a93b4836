#pragma once

#include "CInstallFile.h"
#include "ProductNames.h"
#include "TxString.h"

class CSetupDatFile;

// Process-wide setup state: where the setup runs from, the system's special
// folders, the chosen targets, the install plan, the images and the sizes.
extern TxString g_sSetupDir;
extern TxString g_sImgSrcDir;
extern TxString g_sDstDir;
extern TxString g_sImgDstDir;
extern TxString g_sPrgFolderName;
extern TxString g_sImgFolderName;
extern TxString g_sCommonPrograms;
extern TxString g_sCommonDesktop;
extern TxString g_sPrograms;
extern TxString g_sDesktop;
extern TxString g_sWindowsDir;
extern TxString g_sSystemDir;
extern CInstallFileList g_InstallFiles;
extern CInstallFileList g_ImageFiles;
extern CSetupDatFile g_SetupDat;
extern unsigned long long g_qwPrgSize;
extern unsigned long long g_qwImgSize;
extern unsigned long long g_qwFreeDst;
extern unsigned long long g_qwImgInstallSize;
extern unsigned long long g_qwFreeImg;

constexpr char SETUP_ARCHIVE_NAME[] = "Setup.dat";
constexpr int TEXTURE_COUNT = 20;

// Appends the 30 entries of the install plan; the screen saver goes to
// pszSystemDir.
void BuildInstallPlan(CInstallFileList& plan, const char* pszSystemDir);

// The folder part of a program path: everything before the last "\" or ":",
// keeping the backslash of a drive root ("D:\Setup.exe" gives "D:\").
TxString SetupDirFromProgramPath(const char* pszProgramPath);

// pszFolder + "\" (unless it ends in "\" or "/") + pszName.
TxString JoinPath(const char* pszFolder, const char* pszName);
