#pragma once

#include "TxString.h"

// A program cannot delete its own file, and a 32-bit one cannot even remove
// the folder it was started from. So the installed uninstaller hands its work
// to a copy of itself in a new folder under the user's temp folder and ends;
// the copy waits for it to end, removes everything, the program folder
// included, and leaves only itself to the next restart.

// The switches the copy gets besides the user's own.
constexpr char ORIGINAL_SWITCH[] = "original";
constexpr char HANDOFF_SWITCH[] = "handoff";

// Starts the copy with the user's switches, the original's path and a handle
// it can wait on. False when that failed (nothing is left behind then, and
// the caller removes what it can itself).
bool HandOverToCopy(const TxString& sSelf, const char* pszCmdLine);

// In the copy: the original's path from the command line, empty when this
// process is not a copy. Waits (a while at most) for the original to end.
TxString WaitForOriginal(const char* pszCmdLine);

// In the copy, at its end: its own file and folder go at the next restart.
// False when Windows refused (without administrator rights).
bool ScheduleOwnRemoval(const TxString& sSelf);
