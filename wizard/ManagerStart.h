#pragma once

#include "TxString.h"

// How a program was started at the end of the setup.
enum class ProgramStartRoute
{
    UserShell, // by the shell of the user signed in to the desktop
    Direct,    // by the setup itself: no shell answered
    None       // it could not be started
};

// Starts the program at pszPath, with its path quoted as the command line and
// its own folder as the current folder, and does not wait for it. The setup
// runs elevated, often as another account than the user's: the desktop's
// shell starts the program for it, with the user's rights, profile and
// environment. Where no shell answers, the setup starts it itself.
ProgramStartRoute StartProgramAsUser(const char* pszPath);

// The second way alone: CreateProcessA from the setup. True when started.
bool StartProgramDirectly(const char* pszPath);

// The folder of a program's path, without the closing backslash unless it
// is a drive's root.
TxString ProgramFolder(const char* pszPath);
