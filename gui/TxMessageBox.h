#pragma once

#include <windows.h>

// A message box over the innermost modal form (else the main form);
// returns the button pressed, 0 when the box could not be shown.
int TxMessageBox(const char* pszText, const char* pszCaption, UINT uFlags);
