#include "InstallChecks.h"

#include "IMessageView.h"
#include "ProgramFolderCheck.h"
#include "RegistryHelpers.h"
#include "StringTables.h"
#include "TxDiskApi.h"
#include "TxFormat.h"
#include "TxPlainPath.h"

#include <climits>

bool CSystemRightsProbes::CanCreateFolderIn(const char* pszPath)
{
    return TestFolderCreation(pszPath);
}

bool CSystemRightsProbes::CanCreateFileIn(const char* pszPath)
{
    return TestFileCreation(pszPath);
}

bool CSystemRightsProbes::AutorunExists(const char* pszValue)
{
    return ::AutorunExists(pszValue);
}

bool CSystemRightsProbes::SetAutorun(const char* pszValue, const char* pszData)
{
    return ::SetAutorun(pszValue, pszData);
}

void CSystemRightsProbes::RemoveAutorun(const char* pszValue)
{
    ::RemoveAutorun(pszValue);
}

RightsCheck CheckRights(IRightsProbes& probes, const char* pszDstDir, const char* pszWindowsDir,
                        const char* pszSystemDir)
{
    if (!probes.CanCreateFolderIn(pszDstDir))
        return RIGHTS_NO_FOLDER;
    if (!probes.CanCreateFileIn(pszDstDir))
        return RIGHTS_NO_FILE;
    if (!probes.CanCreateFileIn(pszWindowsDir) || !probes.CanCreateFileIn(pszSystemDir))
        return RIGHTS_NO_SYSTEM_FILE;
    if (probes.AutorunExists(RIGHTS_PROBE_VALUE))
        return RIGHTS_OK;
    bool bWritten = probes.SetAutorun(RIGHTS_PROBE_VALUE, RIGHTS_PROBE_VALUE);
    probes.RemoveAutorun(RIGHTS_PROBE_VALUE);
    return bWritten ? RIGHTS_OK : RIGHTS_NO_REGISTRY;
}

const char* RefusedTargetFolder(const char* pszDstDir, const char* pszImgDstDir)
{
    if (!TxIsPlainFolder(pszDstDir))
        return pszDstDir != nullptr ? pszDstDir : "";
    if (pszImgDstDir != nullptr && !TxIsPlainFolder(pszImgDstDir))
        return pszImgDstDir;
    return nullptr;
}

TxString RightsFailureText(RightsCheck check, const char* pszDstDir)
{
    switch (check)
    {
    case RIGHTS_NO_FOLDER:
        return TxFormat(gls_NoRightsForFolderS.GetText(), {pszDstDir});
    case RIGHTS_NO_FILE:
        return TxFormat(gls_NoRightsForFileS.GetText(), {pszDstDir});
    case RIGHTS_NO_SYSTEM_FILE:
        return gls_NoRightsForFile;
    case RIGHTS_NO_REGISTRY:
        return gls_NoRightsFoRegistry;
    case RIGHTS_OK:
        break;
    }
    return TxString();
}

namespace
{
// Byte counts are compared as signed 64-bit numbers; counts beyond that
// range are held at its top instead of turning negative.
long long Signed(unsigned long long qw)
{
    return qw > static_cast<unsigned long long>(LLONG_MAX) ? LLONG_MAX : static_cast<long long>(qw);
}

// a + b without overflow.
long long Sum(long long a, long long b)
{
    return a > LLONG_MAX - b ? LLONG_MAX : a + b;
}
} // namespace

bool EnoughFreeSpace(bool bSameDrive, unsigned long long qwProgramSize,
                     unsigned long long qwImageInstallSize, unsigned long long qwFreeDst,
                     unsigned long long qwFreeImg)
{
    long long llProgram = Signed(qwProgramSize);
    long long llImages = Signed(qwImageInstallSize);
    if (bSameDrive)
        return Sum(Sum(llProgram, llImages), FREE_SPACE_RESERVE) <= Signed(qwFreeDst);
    if (Sum(llProgram, FREE_SPACE_RESERVE) > Signed(qwFreeDst))
        return false;
    return llImages <= 0 || Sum(llImages, FREE_SPACE_RESERVE) <= Signed(qwFreeImg);
}

namespace
{
void ShowRefusal(const InstallCheckContext& context, const TxString& sText,
                 const TxString& sCaption)
{
    context.view.ShowMessage(sText.GetText(), sCaption.GetText(), MB_OK | MB_ICONEXCLAMATION);
}

// The checks before Start, in order.
const InstallCheck INSTALL_CHECKS[] = {
    CheckInstallRights,
    CheckInstallSpace,
};
} // namespace

bool CheckInstallRights(const InstallCheckContext& context)
{
    // Before the probes, which would create their test entries relative to
    // the current folder; the same rule as the uninstaller's for its records.
    if (const char* pszRefused = RefusedTargetFolder(context.pszDstDir, context.pszImgDstDir))
    {
        ShowRefusal(context, RightsFailureText(RIGHTS_NO_FOLDER, pszRefused),
                    gls_InsufficientRights);
        return false;
    }
    // Before the probes, which would make their entries where a link leads.
    if (!AcceptProgramFolder(context.programFolder, context.view, context.pszDstDir))
        return false;
    RightsCheck check =
        CheckRights(context.probes, context.pszDstDir, context.pszWindowsDir, context.pszSystemDir);
    if (check == RIGHTS_OK)
        return true;
    ShowRefusal(context, RightsFailureText(check, context.pszDstDir), gls_InsufficientRights);
    return false;
}

bool CheckInstallSpace(const InstallCheckContext& context)
{
    if (EnoughFreeSpace(context.bSameDrive, context.qwPrgSize, context.qwImgInstallSize,
                        context.qwFreeDst, context.qwFreeImg))
        return true;
    ShowRefusal(context, gls_NotEnoughSpace, gls_CannotInstall);
    return false;
}

bool RunInstallChecks(const InstallCheckContext& context)
{
    bool bPassed = true;
    for (InstallCheck check : INSTALL_CHECKS)
        bPassed = check(context) && bPassed;
    return bPassed;
}
