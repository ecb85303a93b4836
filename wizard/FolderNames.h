#pragma once

#include "TxString.h"

// Names and paths of the folder choosers, apart from any window.

// A name the new-folder dialog accepts: not empty, no control character
// (below code 32) and none of \ / : * ? " < > |. Codes 128 to 255 are fine.
bool IsValidFolderName(const char* pszName);

// How the chooser shows a folder: a name without lower-case letters keeps
// its first character and lowers the rest (WINDOWS -> Windows); a name with
// a lower-case letter stays as stored.
TxString DisplayFolderName(const char* pszName);

// The text of a drive node: the root, two blanks and the volume label.
TxString DriveNodeText(char chLetter, const char* pszLabel);

// The Browse buttons hand the chooser the parent of the product folder. If
// the last occurrence of pszFolderName (letter case ignored) starts at the
// second character or later, sPath is cut before the character in front of
// it and true is returned.
bool CutProductFolder(TxString& sPath, const char* pszFolderName);
// Puts the product folder back after the chooser: a backslash unless the
// path ends in one (or "/"), then the folder name.
void RestoreProductFolder(TxString& sPath, const char* pszFolderName);

// The program folder as the options step stores it: blanks and control
// characters trimmed from both ends, then one trailing backslash removed.
TxString TrimTargetFolder(const char* pszText);
