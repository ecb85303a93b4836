#pragma once

#include "TxString.h"

// The one rule for the paths the setup records and the uninstaller acts on.
// A path that two readers could take for two different entries ("C:\Games."
// is "C:\Games" to the system, "a\\b" is "a\b") is refused by both: the
// install step does not install under it, the uninstaller does not remove
// by it. Keeping one rule keeps every installation removable.

// True, with sFull set, when pszPath is a full path ("X:\..." or
// "\\server\share\...", slashes read as backslashes) whose every level is a
// plain name: not empty, not "." or "..", not ending in a dot or a blank,
// without control characters or any of * ? " < > | : (so no alternate data
// stream and no "\\?\" or "\\.\" prefix), and no device name (CON, NUL,
// COM1, ...). GetFullPathName gives it back unchanged; sFull is that form,
// with backslashes only. A drive's root alone is no such path.
bool TxPlainFullPath(const char* pszPath, TxString& sFull);

// A folder the setup may install into: a drive's root ("C:", "C:\") or a
// plain full path as above.
bool TxIsPlainFolder(const char* pszFolder);
