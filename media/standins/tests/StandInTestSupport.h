#pragma once

// The library's test support (temp folders, whole-file I/O, tree removal,
// registry helpers) with what the stand-in tests add.
#include "TestSupport.h"

#include <string>
#include <vector>
#include <windows.h>

// Removes the product's key, and the vendor key when nothing else is left in it.
void DeleteProductKey();

// A file that sits beside the test program (the stand-ins are built there).
std::string BesideTest(const char* pszName);
