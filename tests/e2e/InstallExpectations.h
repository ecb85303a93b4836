#pragma once

#include "ProductState.h"

#include <windows.h>

#include <string>
#include <vector>

// What a successful installation must have left, checked with EXPECTs.

// The 30 plan files in plan order.
std::vector<std::string> PlanFileNames();
// Where a plan file is installed.
std::string PlanTarget(const ProductPaths& paths, const std::string& sName);
// The sample file installed for a plan entry under a language (upper-case
// English name): the language variant when there is one.
std::string PlanSource(const std::string& sName, const std::string& sLangEName);

// Every plan file present, with the content and last-write time of its source.
void ExpectProgramFiles(const ProductPaths& paths, const std::string& sLangEName);
// Exactly these images in the image folder, as on the medium.
void ExpectImages(const ProductPaths& paths, const std::string& sMediumImages,
                  const std::vector<std::string>& names);
// Setup values, autorun, uninstall entry, the Start-menu shortcut for all users.
void ExpectSystemConfiguration(const ProductPaths& paths, bool bImages);
// The installation is where programs of the setup's own bitness look: the
// 32-bit build on 64-bit Windows in "Program Files (x86)", syswow64 and the
// registry's 32-bit view, the 64-bit build in the 64-bit ones.
void ExpectTheBuildsView(const ProductPaths& paths);
// The exported language values.
void ExpectLanguageExport(const std::string& sLanguage, const std::string& sLangEName,
                          DWORD dwLangId, const std::string& sGlxCancel);

// The records of one "Install.log" block for a default installation, the
// time line left out.
std::vector<std::string> ExpectedLogRecords(const ProductPaths& paths, bool bNewProgramFolder,
                                            const std::vector<std::string>& images);
// A block's time line: "S_TIME___ dd.mm.yyyy hh:mm".
bool IsTimeLine(const std::string& sLine);

// The program's process runs in the program's own folder, started with its
// path quoted.
void ExpectStartedInItsFolder(DWORD dwProcessId, const std::string& sProgram);
