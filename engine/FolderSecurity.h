#pragma once

#include "TxHandles.h"

#include <windows.h>

// Who may change what the setup installs. The programs in the program folder
// are run by administrators (the agent at every logon, the uninstaller), so
// the folders the setup makes for the product belong to administrators, and
// an existing program folder that other users may change is not used as it
// is. The backup folders of a run are SYSTEM's and the administrators' alone.

enum FolderAccess
{
    // SYSTEM and Administrators full control, Users read and execute.
    FOLDER_FOR_PROGRAMS,
    // SYSTEM and Administrators full control, nobody else anything.
    FOLDER_PRIVATE,
};

// A SID in a buffer of its own.
struct CSidBuffer
{
    DWORD adwBytes[SECURITY_MAX_SID_SIZE / sizeof(DWORD)];
    PSID Get() { return adwBytes; }
    const void* Get() const { return adwBytes; }
};

// A security descriptor to create or lock a folder with: the ACEs of the
// access asked for, each inherited by files and subfolders, in a protected
// DACL (nothing inherited from the folder above). Made from SDDL by
// TxMakeSecurityDescriptor, the one builder of descriptors the setup and the
// uninstaller share; FOLDER_PRIVATE is ADMIN_ONLY_FOLDER_SDDL.
class CFolderSecurity
{
public:
    explicit CFolderSecurity(FolderAccess access);
    CFolderSecurity(const CFolderSecurity&) = delete;
    CFolderSecurity& operator=(const CFolderSecurity&) = delete;

    // For CreateDirectory; null when the descriptor could not be built.
    SECURITY_ATTRIBUTES* Attributes() { return m_pDacl != nullptr ? &m_Attributes : nullptr; }
    PACL Dacl() { return m_pDacl; }

private:
    TxLocalMem m_Descriptor;
    SECURITY_ATTRIBUTES m_Attributes;
    PACL m_pDacl;
};

// The accounts that count as administrators as owners and grantees: SYSTEM,
// Administrators, TrustedInstaller and the user the setup runs as (the
// elevated setup's own user is an administrator).
class CTrustedSids
{
public:
    // With the user of the process token.
    CTrustedSids();
    // With pOwnUser as the setup's own user (tests).
    explicit CTrustedSids(PSID pOwnUser);

    bool IsTrusted(PSID pSid) const;

private:
    void Add(PSID pSid);

    CSidBuffer m_Sids[6];
    int m_nSids;
};

// Whether a folder with this owner and DACL lets anyone but the trusted
// accounts write, add or delete in it, or in the files and subfolders that
// inherit from it: an allowing ACE of another account with such a right; no
// DACL or a NULL DACL; an owner who is not trusted (an owner may always
// rewrite the DACL). Denying ACEs are not weighed.
bool LetsOthersChange(PSID pOwner, const ACL* pDacl, const CTrustedSids& trusted);

// The owner of the entry of hEntry (opened with READ_CONTROL) is trusted.
bool HasTrustedOwner(HANDLE hEntry);

enum FolderState
{
    FOLDER_ABSENT,         // nothing there (or not a folder): the setup makes it
    FOLDER_ADMINS_ONLY,    // only administrators can change it
    FOLDER_LINK,           // a junction, symbolic link or mount point
    FOLDER_OPEN_TO_OTHERS, // other users may change it, or its rights cannot be read
};

FolderState InspectFolder(const char* pszFolder);

// Gives the folder the DACL of FOLDER_FOR_PROGRAMS, through a handle that is
// not a link, which also replaces what its files and subfolders inherited;
// an owner who is not trusted is replaced by Administrators.
bool LockFolderForPrograms(const char* pszFolder);
