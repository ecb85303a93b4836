#pragma once

#include "TxString.h"

class IMessageView;
class IProgramFolder;

// The install step's checks before it offers Start; an unattended
// installation runs the same ones.

// The write probes the rights check asks; the system's are
// CSystemRightsProbes, tests answer them themselves.
class IRightsProbes
{
public:
    virtual ~IRightsProbes() = default;
    virtual bool CanCreateFolderIn(const char* pszPath) = 0;
    virtual bool CanCreateFileIn(const char* pszPath) = 0;
    virtual bool AutorunExists(const char* pszValue) = 0;
    virtual bool SetAutorun(const char* pszValue, const char* pszData) = 0;
    virtual void RemoveAutorun(const char* pszValue) = 0;
};

// The probes of the disk and the registry, in the nearest existing folder.
class CSystemRightsProbes : public IRightsProbes
{
public:
    bool CanCreateFolderIn(const char* pszPath) override;
    bool CanCreateFileIn(const char* pszPath) override;
    bool AutorunExists(const char* pszValue) override;
    bool SetAutorun(const char* pszValue, const char* pszData) override;
    void RemoveAutorun(const char* pszValue) override;
};

// The first probe that failed, in the order they are asked.
enum RightsCheck
{
    RIGHTS_OK = 0,
    RIGHTS_NO_FOLDER,      // no folder can be made in the program folder
    RIGHTS_NO_FILE,        // no file can be made in the program folder
    RIGHTS_NO_SYSTEM_FILE, // no file in the Windows or the system folder
    RIGHTS_NO_REGISTRY,    // no value can be written under the Run key
};

// The name and data of the registry probe's value.
constexpr char RIGHTS_PROBE_VALUE[] = "t_e_s_t";

// Asks the probes in order and stops at the first failure. An existing
// probe value counts as write access and is left in place.
RightsCheck CheckRights(IRightsProbes& probes, const char* pszDstDir, const char* pszWindowsDir,
                        const char* pszSystemDir);
// The first target folder the installation may not use: the program folder,
// then the image folder (null when no images are installed). A folder must
// be a drive's root or a plain full path (TxIsPlainFolder): one that depends
// on the setup's current folder, or that the uninstaller could not tell from
// another ("C:\Games.", "C:\Games \Quorvane", "C:\Games\\Quorvane") is refused as
// one without rights. Null when both may be used.
const char* RefusedTargetFolder(const char* pszDstDir, const char* pszImgDstDir);
// The message for a failed check (empty for RIGHTS_OK).
TxString RightsFailureText(RightsCheck check, const char* pszDstDir);

// The room kept free on every target drive: 5 MiB.
constexpr long long FREE_SPACE_RESERVE = 0x500000;

// Whether the program and the chosen images fit. On one drive the reserve
// counts once; on two drives each needs its own, and the image drive is
// looked at only when images are to be installed.
bool EnoughFreeSpace(bool bSameDrive, unsigned long long qwProgramSize,
                     unsigned long long qwImageInstallSize, unsigned long long qwFreeDst,
                     unsigned long long qwFreeImg);

// What the checks before Start look at, and where they ask and tell.
struct InstallCheckContext
{
    const char* pszDstDir;
    const char* pszImgDstDir; // null when no images are to be installed
    const char* pszWindowsDir;
    const char* pszSystemDir;
    bool bSameDrive; // the program and the images go to one drive
    unsigned long long qwPrgSize;
    unsigned long long qwImgInstallSize;
    unsigned long long qwFreeDst;
    unsigned long long qwFreeImg;
    IRightsProbes& probes;
    IMessageView& view;
    IProgramFolder& programFolder; // asked only when the folder is plain
};

// One check: shows its box through the context's view and returns false
// when the installation may not start.
using InstallCheck = bool (*)(const InstallCheckContext& context);

// A target folder that is not plain (RefusedTargetFolder; the box
// "Insufficient rights"), then an existing program folder that is a link or
// open to other users (AcceptProgramFolder, its own boxes), then the probes.
bool CheckInstallRights(const InstallCheckContext& context);
// The box "Cannot install" when the program and the images do not fit.
bool CheckInstallSpace(const InstallCheckContext& context);

// Runs every check of the list in order, each one even after an earlier one
// has failed, so that the user learns every reason at once. True when all
// passed. A check added to the list runs for the wizard and for the
// unattended installation alike.
bool RunInstallChecks(const InstallCheckContext& context);
