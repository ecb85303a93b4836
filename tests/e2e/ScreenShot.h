#pragma once

#include <string>
#include <windows.h>

// Saves what the screen shows in a rectangle, or under a window, as a
// 24-bit BMP file (the scripts turn it into PNG). False on failure.
bool SaveScreenArea(const RECT& area, const std::string& sPath);
bool SaveWindowShot(HWND hWnd, const std::string& sPath);
bool SaveWholeScreen(const std::string& sPath);
