#pragma once

#include "ProductNames.h"
#include "TxString.h"

#include <windows.h>

// Size of the buffer RegistryGetString reads into; longer values are refused.
constexpr DWORD REG_STRING_BUFFER_SIZE = 512;

// Small registry helpers: none throws, none logs.
bool RegistryValueExists(HKEY hRoot, const char* pszSubKey, const char* pszValue);
bool RegistryCreateKey(HKEY hRoot, const char* pszSubKey);
bool RegistryDeleteKey(HKEY hRoot, const char* pszSubKey);
bool RegistrySetString(HKEY hRoot, const char* pszSubKey, const char* pszValue,
                       const char* pszText);
// True, with sText set, only for a REG_SZ or REG_EXPAND_SZ value that fits
// the buffer; otherwise sText is left unchanged.
bool RegistryGetString(HKEY hRoot, const char* pszSubKey, const char* pszValue, TxString& sText);
void RegistryDeleteValue(HKEY hRoot, const char* pszSubKey, const char* pszValue);
// Adds pszText to the REG_MULTI_SZ list pszValue (made when missing) unless
// the list holds it already, letter case ignored; a value of another type is
// replaced. True when the list holds it afterwards.
bool RegistryAddToList(HKEY hRoot, const char* pszSubKey, const char* pszValue,
                       const char* pszText);

bool AutorunExists(const char* pszValue);
bool SetAutorun(const char* pszValue, const char* pszCommandLine);
void RemoveAutorun(const char* pszValue);

// The product's entry in the system's list of installed programs.
struct UninstallInfo
{
    TxString sName;
    TxString sDisplayName;
    TxString sUninstallCommand;
    TxString sDisplayIcon;
};

// True as soon as the entry's key exists; its values are written best-effort.
bool AddUninstallInfo(const UninstallInfo& info);
bool RemoveUninstallInfo(const char* pszName);
