#pragma once

#include "TxString.h"

#include <vector>
#include <windows.h>

// Reads a REG_SZ or REG_EXPAND_SZ value (not expanded); false, with sText
// unchanged, when the key or value is missing or of another type.
bool ReadRegistryString(HKEY hRoot, const char* pszKey, const char* pszValue, TxString& sText);
// Reads the texts of a REG_MULTI_SZ value into texts (appended); false when
// the key or value is missing or of another type.
bool ReadRegistryStrings(HKEY hRoot, const char* pszKey, const char* pszValue,
                         std::vector<TxString>& texts);
// Reads a REG_DWORD value; false, with dwValue unchanged, otherwise.
bool ReadRegistryDword(HKEY hRoot, const char* pszKey, const char* pszValue, DWORD& dwValue);
