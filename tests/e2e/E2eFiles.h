#pragma once

// Temp folders, path joins, whole-file writing and tree removal come from
// the library's test support.
#include "TestSupport.h"

#include <string>
#include <vector>

// File-system helpers of the end-to-end driver. Paths are Windows paths in
// the ANSI code page; none of these throw.

// A Wine path of a folder of the source or the build tree ("Z:\...").
std::string SourcePath(const std::string& sRelative);
std::string BuildPath(const std::string& sRelative);
// A Wine path in the tree whose Setup.exe and stand-ins the tests run: the
// shipping build when one is named, else this build tree.
std::string ProgramsPath(const std::string& sRelative);

bool FileExists(const std::string& sPath);
bool FolderExists(const std::string& sPath);
bool ReadBytes(const std::string& sPath, std::string& sBytes);
bool CopyOneFile(const std::string& sFrom, const std::string& sTo);
// Creates the folder with every missing parent.
bool MakeFolders(const std::string& sPath);
// Names of the plain files in a folder matching the pattern ("*" for all).
std::vector<std::string> ListFiles(const std::string& sFolder, const char* pszPattern = "*");
// Makes a sparse file of the given size (the space check looks only at sizes).
bool MakeSparseFile(const std::string& sPath, unsigned long long qwSize);
