#pragma once

// The library's test support (temp folders, whole-file I/O, tree removal)
// with what the stand-in tests add: registry helpers.
#include "TestSupport.h"

#include <string>
#include <vector>
#include <windows.h>

bool SetRegString(const char* pszKey, const char* pszValue, const char* pszText);
bool RegValueExists(const char* pszKey, const char* pszValue);
bool RegKeyExists(const char* pszKey);
// Removes the product's key, and the vendor key when nothing else is left in it.
void DeleteProductKey();

// A file that sits beside the test program (the stand-ins are built there).
std::string BesideTest(const char* pszName);
