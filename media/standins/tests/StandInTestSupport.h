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

// A link at sLink to the folder sTarget, as a junction would be. Windows
// makes it with CreateSymbolicLinkA; Wine accepts that call without making
// anything, so under Wine the link is made on the Unix side, which Wine
// shows as a reparse point. False when neither works.
bool MakeFolderLink(const std::string& sLink, const std::string& sTarget);
// Removes such a link, never its target.
void RemoveFolderLink(const std::string& sLink);
