#pragma once

#include "TxString.h"

#include <windows.h>

// Small questions every layer asks the system, answered once here.

// pszFolder and pszName joined by "\", which is added only when the folder
// does not already end in "\" or "/" (an empty folder gets one: "\name").
TxString TxJoinPath(const char* pszFolder, const char* pszName);

// The running program's full path, however long; empty when the system
// cannot say.
TxString TxProgramPath();
// Its folder, without the separator at the end; empty when unknown.
TxString TxProgramFolder();

// The system's own text for an error code, as FormatMessage gives it (insert
// markers left as they are); empty when the system has none.
TxString TxSystemErrorText(DWORD dwError);
