#pragma once

// True when the command line holds the switch pszName given as "/name" or
// "-name", letter case ignored; a switch may carry a value after ':'
// ("/c:1234" matches "c").
bool HasSwitch(const char* pszCmdLine, const char* pszName);
