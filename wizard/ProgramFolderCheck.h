#pragma once

#include "FolderSecurity.h"
#include "IMessageView.h"

// The check of an existing program folder before the install step offers
// Start. The programs installed there are run by administrators (the agent
// at every logon, the uninstaller), so a folder that others may change
// would hand them the administrators' rights.

// What the check asks of the system; the system's is CSystemProgramFolder,
// tests answer themselves.
class IProgramFolder
{
public:
    virtual ~IProgramFolder() = default;
    virtual FolderState Inspect(const char* pszFolder) = 0;
    virtual bool LockForPrograms(const char* pszFolder) = 0;
};

class CSystemProgramFolder : public IProgramFolder
{
public:
    FolderState Inspect(const char* pszFolder) override { return InspectFolder(pszFolder); }
    bool LockForPrograms(const char* pszFolder) override
    {
        return LockFolderForPrograms(pszFolder);
    }
};

// Whether the setup may install into pszDstDir. A folder that is not there
// yet is made for administrators only, and one that only they can change is
// used as it is. A link is refused. A folder that other users may change is
// used only when the user agrees to make it writable by administrators only
// (asked with Yes and No, No the default) and that took effect; otherwise it
// is refused. Each refusal shows its box through view; false keeps Start
// disabled.
bool AcceptProgramFolder(IProgramFolder& folder, IMessageView& view, const char* pszDstDir);
