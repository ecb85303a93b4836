#pragma once

#include <string>

// True when the command line holds the switch pszName given as "/name" or
// "-name", letter case ignored; a switch may carry a value after ':'
// ("/c:1234" matches "c").
bool HasSwitch(const char* pszCmdLine, const char* pszName);

// The value of the switch "/name:value" ("/name:\"a value with spaces\""),
// without quotes; empty when the switch is missing or has no value.
std::string SwitchValue(const char* pszCmdLine, const char* pszName);
