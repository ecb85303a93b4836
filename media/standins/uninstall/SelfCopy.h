#pragma once

#include "TxHandles.h"
#include "TxString.h"

#include <string>
#include <vector>
#include <windows.h>

// A program cannot delete its own file, and a 32-bit one cannot even remove
// the folder it was started from. So the installed uninstaller hands its work
// to a copy of itself in a new temporary folder and ends; the copy waits for
// it to end, removes everything, the program folder included, and leaves
// only itself to the next restart.

// The switches the copy gets besides the user's own.
constexpr char ORIGINAL_SWITCH[] = "original";
constexpr char HANDOFF_SWITCH[] = "handoff";
// The copy's folder: this, then 16 random hexadecimal digits.
constexpr char COPY_FOLDER_PREFIX[] = "QvUninstall.";

// A copy of a program that runs with administrator rights, where no one else
// can change it: in a new folder under the Windows folder's "Temp" (which
// other users can neither list nor rename in), with a name from the system's
// random source, a DACL for SYSTEM and Administrators only, and held open
// against renaming from its making until the copy runs. The copy is started
// only while it still hashes as the original did.
class TemporaryCopy
{
public:
    // Reads the original (writers kept out while it is read), makes the
    // folder and writes the copy there under the original's file name. False
    // when a step failed; nothing is left behind then.
    bool Make(const char* pszOriginal);
    // Starts the copy, its path quoted and then sArguments as its command
    // line, inheriting handles when told: only when its SHA-256 is the
    // original's, and while it is held open against writing and deleting.
    // False, with nothing started, otherwise.
    bool Start(const std::string& sArguments, bool bInheritHandles);
    // Removes the copy and its folder.
    void Discard();

    const std::string& Folder() const { return m_sFolder; }
    const std::string& Path() const { return m_sCopy; }

private:
    std::string m_sFolder;
    std::string m_sCopy;
    TxFileHandle m_Folder;
    std::vector<BYTE> m_Hash;
};

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
