#pragma once

#include "TxString.h"

#include <vector>
#include <windows.h>

// What the folder chooser lists and creates, apart from any window: the
// drives, their folders as the chooser shows them and the new folders.

// Critical errors (a drive without its medium) fail silently while it
// lives, so that an empty removable drive brings up no system box; the
// previous error mode comes back at its end.
class CSilentCriticalErrors
{
public:
    CSilentCriticalErrors();
    ~CSilentCriticalErrors();
    CSilentCriticalErrors(const CSilentCriticalErrors&) = delete;
    CSilentCriticalErrors& operator=(const CSilentCriticalErrors&) = delete;

private:
    UINT m_uOldMode;
};

// The drive nodes' texts for the drives in dwDrives (bit 0 is A:, as
// GetLogicalDrives gives them): C to Z in letter order, never A or B, each
// the root, two blanks and its volume label (empty when it cannot be read).
// The caller keeps critical errors silent.
std::vector<TxString> ListDrives(DWORD dwDrives);

// The names the chooser shows for the folders in pszPath (a backslash is
// added when missing), in the order the system lists them: no files, no "."
// or "..", no hidden folders. Empty when the folder cannot be read.
std::vector<TxString> ListSubfolders(const char* pszPath);

// Creates the folder pszName one level below pszParent (a node path such as
// "C:" or "C:\Games") and gives its path in sPath. False, after logging why,
// when the system refuses.
bool CreateChildFolder(const char* pszParent, const char* pszName, TxString& sPath);
