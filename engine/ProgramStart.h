#pragma once

#include "TxString.h"

// How a program was started for the setup.
enum class ProgramStartRoute
{
    ShellToken, // with a copy of the token of the desktop shell's process
    UserShell,  // by the desktop's shell itself
    None        // not started
};

// The one place where the setup starts programs (the manager at the end, the
// agent after a rollback). The setup runs elevated, often as another account
// than the user's; what it starts runs as the user signed in to the desktop,
// never with the setup's own token. Its command line is its path, quoted, and
// pszArguments when given; its current folder is its own folder; the setup
// does not wait for it.
//
// First with a copy of the token of the desktop shell's process
// (CreateProcessWithTokenW): the program is made suspended and runs only when
// its token is not elevated (unless the setup's own token is the user's
// unsplit one, as without UAC). Then by the shell itself
// (IShellDispatch2::ShellExecute), which also serves a user who elevated with
// another account's password. When neither works, the program is not
// started and that is logged.
ProgramStartRoute StartProgramAsUser(const char* pszPath, const char* pszArguments = nullptr);

// The two routes alone, in that order; true when started.
bool StartWithShellToken(const char* pszPath, const char* pszArguments);
bool StartThroughShell(const char* pszPath, const char* pszArguments);

// The folder of a program's path, without the closing backslash unless it
// is a drive's root.
TxString ProgramFolder(const char* pszPath);
