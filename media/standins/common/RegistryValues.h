#pragma once

#include "TxString.h"

#include <windows.h>

// Reads a REG_SZ or REG_EXPAND_SZ value (not expanded); false, with sText
// unchanged, when the key or value is missing or of another type.
bool ReadRegistryString(HKEY hRoot, const char* pszKey, const char* pszValue, TxString& sText);
// Reads a REG_DWORD value; false, with dwValue unchanged, otherwise.
bool ReadRegistryDword(HKEY hRoot, const char* pszKey, const char* pszValue, DWORD& dwValue);
