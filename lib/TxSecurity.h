#pragma once

#include "TxHandles.h"
#include "TxString.h"

// Security descriptors of what the elevated programs make, written as SDDL
// so that what each grants can be read at a glance.

// A protected DACL (nothing inherited from the parent) that gives SYSTEM and
// Administrators full control, passed on to files and subfolders, and nobody
// else any access: for folders that only an administrator may change.
constexpr char ADMIN_ONLY_FOLDER_SDDL[] = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";

// Makes the security descriptor pszSddl describes, owned by descriptor
// (LocalFree). False (logged) when the text is not valid.
bool TxMakeSecurityDescriptor(const char* pszSddl, TxLocalMem& descriptor);

// The SID of the user this process runs as, in its text form ("S-1-5-21-...");
// false (logged) when it cannot be read.
bool TxProcessUserSid(TxString& sSid);
