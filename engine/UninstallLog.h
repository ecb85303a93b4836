#pragma once

#include "ProductNames.h"
#include "TxString.h"

#include <windows.h>

// After a successful installation: the interface texts and the uninstall
// entry in the registry, and one block appended to "Install.log", framed in
// the diagnostic log. A library failure is logged and ends the work quietly.
void SaveUninstallInfo();

// The ten-character record tag of a history kind, or null for kinds that
// are not written.
const char* HistoryRecordTag(int iKind);

// Appends one block (a record per history item, then the time line for st)
// to the log at pszPath, creating it when missing. The log is opened without
// following a link; one that is a link, has further names or is not owned by
// an administrator is moved aside and a new one started (UninstallLog.cpp).
// Throws ExNormal when the file cannot be opened or written.
void AppendInstallLogBlock(const char* pszPath, const SYSTEMTIME& st);
