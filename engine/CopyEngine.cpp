#include "CopyEngine.h"

#include "CLog.h"
#include "CSetupDatFile.h"
#include "FolderCreation.h"
#include "InstallBackup.h"
#include "InstallHistory.h"
#include "LanguageCatalogue.h"
#include "PostInstall.h"
#include "ProductNames.h"
#include "SetupState.h"
#include "StringTables.h"
#include "TxDiskApi.h"
#include "TxFaultInjection.h"
#include "TxFormat.h"
#include "TxHandles.h"
#include "TxPaths.h"
#include "TxSafeFile.h"

CCopyEngine::CCopyEngine(IInstallView& view, CSetupDatFile& archive)
    : m_iPhase(1), m_iIndex(0), m_bInstallImages(false), m_qwCopied(0), m_qwExpected(0),
      m_bCompleted(false), m_bFailed(false), m_bStopped(false), m_View(view), m_Archive(archive),
      m_iStartMenuChoice(0), m_iDesktopChoice(0)
{
}

void CCopyEngine::ResetOutcome()
{
    m_bCompleted = false;
    m_bFailed = false;
    m_bStopped = false;
}

int CCopyEngine::Percent(unsigned long long qwCopied, unsigned long long qwExpected)
{
    if (qwExpected == 0)
        return 0;
    unsigned long long qwPercent = qwCopied * 100 / qwExpected;
    return qwPercent > 100 ? 100 : static_cast<int>(qwPercent);
}

TxString CCopyEngine::VariantName(const char* pszName, const char* pszLanguage)
{
    TxString sName(pszName);
    int iDot = sName.Find(".", false, true, 1);
    if (iDot == 0)
        return sName;
    TxString sSuffix("_");
    sSuffix.Append(pszLanguage);
    sName.Insert(sSuffix, iDot);
    return sName;
}

void CCopyEngine::Start(ImageChoice choice, int iRandomCount, uint32_t dwSeed, int iStartMenuChoice,
                        int iDesktopChoice)
{
    m_iPhase = 1;
    m_iIndex = 0;
    m_qwCopied = 0;
    m_sKnownFolder = "";
    m_iStartMenuChoice = iStartMenuChoice;
    m_iDesktopChoice = iDesktopChoice;
    m_View.ShowProgressControls();
    m_bInstallImages = false;
    m_qwExpected = g_qwPrgSize;
    if (g_ImageFiles.GetCount() > 0)
        SelectImages(choice, iRandomCount, dwSeed);
    if (RefuseRelativeFolder(g_sDstDir) || (m_bInstallImages && RefuseRelativeFolder(g_sImgDstDir)))
        return;
    RecoverInterruptedRuns();
    if (!CreateTargetFolder(g_sDstDir, true))
        return;
    // The image folder stays the user's own, as the folder above it has it.
    if (m_bInstallImages && !CreateTargetFolder(g_sImgDstDir, false))
        return;
    RequestAgentClose();
    m_View.DisableNavigation();
    m_View.PostInstallStep();
}

void CCopyEngine::SelectImages(ImageChoice choice, int iRandomCount, uint32_t dwSeed)
{
    if (choice == IMAGES_ALL)
    {
        m_bInstallImages = true;
        m_qwExpected = g_qwPrgSize + g_qwImgSize;
        return;
    }
    if (choice != IMAGES_RANDOM)
        return;
    m_bInstallImages = true;
    int iTotal = g_ImageFiles.GetCount();
    // The count field cannot be trusted to lie within 1 ... M.
    int iKeep = iRandomCount < 1 ? 1 : (iRandomCount > iTotal ? iTotal : iRandomCount);
    CRandom64 random;
    random.Seed(dwSeed);
    while (g_ImageFiles.GetCount() > iKeep)
    {
        int iCount = g_ImageFiles.GetCount();
        int d = static_cast<int>(random.Next() % static_cast<uint32_t>(iCount));
        g_ImageFiles.Free(d);
    }
    m_qwExpected = g_qwPrgSize + g_qwImgSize * static_cast<unsigned long long>(iKeep) /
                                     static_cast<unsigned long long>(iTotal);
}

void CCopyEngine::FailOnFolder(const TxString& sFolder)
{
    m_View.ShowMessage(TxFormat(gls_CannotCreateFolderS.GetText(), {sFolder}).GetText(),
                       gls_Error.GetText(), MB_OK | MB_ICONEXCLAMATION);
    Fail();
}

bool CCopyEngine::RefuseRelativeFolder(const TxString& sFolder)
{
    if (IsFullPath(sFolder.GetText()))
        return false;
    TX_LOG("CCopyEngine::Start - target folder is not absolute: %s", sFolder.GetText());
    FailOnFolder(sFolder);
    return true;
}

bool CCopyEngine::CreateTargetFolder(const TxString& sFolder, bool bForPrograms)
{
    if (DirectoryExists(sFolder.GetText()))
        return true;
    if (!(bForPrograms ? CreateProgramFolderRecorded(sFolder.GetText())
                       : CreateFolderRecorded(sFolder.GetText())))
    {
        FailOnFolder(sFolder);
        return false;
    }
    return true;
}

void CCopyEngine::RequestAgentClose()
{
    TxKernelHandle hEvent(OpenEventA(EVENT_MODIFY_STATE, FALSE, AGENT_CLOSE_EVENT));
    if (!hEvent.IsValid())
        return;
    SetEvent(hEvent.Get());
    hEvent.Reset();
    NoteAgentClosed(JoinPath(g_sDstDir.GetText(), "QvAgent.exe").GetText());
    Sleep(AGENT_CLOSE_WAIT_MS);
}

void CCopyEngine::DoInstallStep()
{
    if (m_bStopped)
        return;
    if (m_iPhase == 1)
    {
        if (m_iIndex < g_InstallFiles.GetCount())
        {
            CopyPlanEntry(*g_InstallFiles.FileAt(m_iIndex));
            return;
        }
        if (m_bInstallImages)
        {
            m_iPhase = 2;
            m_iIndex = 0;
            m_View.PostInstallStep();
            return;
        }
        Complete();
        return;
    }
    if (m_iIndex < g_ImageFiles.GetCount())
    {
        CopyImageEntry(*g_ImageFiles.FileAt(m_iIndex));
        return;
    }
    Complete();
}

TxString CCopyEngine::PlanSource(const CInstallFile& file) const
{
    bool bPacked = (file.dwFlags & IF_PACKED) != 0;
    const TxString& sName = bPacked ? file.sDstName : file.sSrcName;
    TxString sBase = TxJoinPath(g_sSetupDir.GetText(), "");
    if ((file.dwFlags & IF_LOCALIZED) != 0 && sName.Find(".", false, false, 1) != 0)
    {
        TxString sVariant = VariantName(sName.GetText(), g_sLangEName.GetText());
        TxString sVariantPath(sBase);
        sVariantPath.Append(sVariant);
        bool bPresent = bPacked ? m_Archive.FindPackageFile(sVariant.GetText(), nullptr)
                                : FileExists(sVariantPath.GetText());
        if (bPresent)
            return sVariantPath;
    }
    sBase.Append(sName);
    return sBase;
}

TxString CCopyEngine::PlanFolder(const CInstallFile& file)
{
    const TxString& sBase = file.sDstFolder.IsEmpty() ? g_sDstDir : file.sDstFolder;
    return file.sSubFolder.IsEmpty() ? sBase : JoinPath(sBase.GetText(), file.sSubFolder.GetText());
}

void CCopyEngine::RecoverInterruptedRuns()
{
    // A folder met twice finds nothing left the second time.
    TxString sPrevious;
    for (int i = -1; i < g_InstallFiles.GetCount(); ++i)
    {
        TxString sFolder = i < 0 ? g_sDstDir : PlanFolder(*g_InstallFiles.FileAt(i));
        if (!sFolder.IsEqual(sPrevious) && DirectoryExists(sFolder.GetText()))
            RecoverInterruptedBackups(sFolder.GetText());
        sPrevious = sFolder;
    }
    for (const TxString* pFolder :
         {&g_sImgDstDir, &g_sCommonPrograms, &g_sPrograms, &g_sCommonDesktop, &g_sDesktop})
        if (!pFolder->IsEmpty() && DirectoryExists(pFolder->GetText()))
            RecoverInterruptedBackups(pFolder->GetText());
}

bool CCopyEngine::PlanTargetFolder(const CInstallFile& file, TxString& sFolder)
{
    sFolder = PlanFolder(file);
    if (file.sSubFolder.IsEmpty())
        return true;
    if (sFolder.IsEqual(m_sKnownFolder))
        return true;
    if (DirectoryExists(sFolder.GetText()) || CreateProgramFolderRecorded(sFolder.GetText()))
    {
        m_sKnownFolder = sFolder;
        return true;
    }
    TX_LOG("Creating folder %s", sFolder.GetText());
    FailOnFolder(sFolder);
    return false;
}

void CCopyEngine::CopyPlanEntry(const CInstallFile& file)
{
    TxString sSource = PlanSource(file);
    TxString sFolder;
    if (!PlanTargetFolder(file, sFolder))
        return;
    TxString sTarget = JoinPath(sFolder.GetText(), file.sDstName.GetText());
    if (CopyOne(file, sSource, sTarget, (file.dwFlags & IF_PACKED) != 0, PRGFILE))
        Advance();
}

void CCopyEngine::CopyImageEntry(const CInstallFile& file)
{
    TxString sSource = JoinPath(g_sImgSrcDir.GetText(), file.sSrcName.GetText());
    TxString sTarget = JoinPath(g_sImgDstDir.GetText(), file.sDstName.GetText());
    if (CopyOne(file, sSource, sTarget, false, IMGFILE))
        Advance();
}

bool CCopyEngine::CopyOne(const CInstallFile& file, const TxString& sSource,
                          const TxString& sTarget, bool bPacked, int iKind)
{
    TX_LOG("Copying %s", sSource.GetText());
    TX_LOG("  -> to %s", sTarget.GetText());
    m_View.SetCurrentFile(sTarget.GetText());
    TxString sError;
    bool bCopied = false;
    // A file of an earlier installation is moved aside first, so that a
    // rollback can put it back; the new one is made new, so that nothing put
    // under its name since (a link) is written through. What stands there
    // after a failure is the copy's own only when the name was free.
    bool bKept = KeepFile(sTarget.GetText());
    bool bTargetFree = bKept && !EntryExists(sTarget.GetText());
    DWORD dwError = 0;
    if (!bKept)
        sError = TxSystemErrorText(GetLastError());
    else if (bPacked)
        bCopied = m_Archive.CopyFile(sSource.GetText(), sTarget.GetText(), true);
    else
    {
        bCopied = !TX_FAULT(TXFAULT_COPY) &&
                  CopyFileA(sSource.GetText(), sTarget.GetText(), TRUE) != FALSE;
        dwError = bCopied ? 0 : GetLastError();
        if (dwError != 0)
            sError = TxSystemErrorText(dwError);
    }
    if (!bCopied)
    {
        TX_LOG("Copy error: %s", sError.GetText());
        // What CopyFileA wrote into a free name before it failed (a full disk,
        // a lost share) goes; an entry put there by someone else meanwhile
        // (the copy found the name taken) stays. The extraction removes its
        // own partial file.
        if (!bPacked && bTargetFree && dwError != ERROR_FILE_EXISTS &&
            dwError != ERROR_ALREADY_EXISTS)
            RemovePartialCopy(sTarget);
        TxString sText = TxFormat("%s -> %s\n%s", {sSource, sTarget, sError});
        m_View.ShowMessage(sText.GetText(), gls_CopyError.GetText(), MB_OK | MB_ICONEXCLAMATION);
        Fail();
        return false;
    }
    g_History.Record(iKind, sTarget.GetText(), &file.FileInfo);
    ProgressStep(file);
    return true;
}

bool CCopyEngine::EntryExists(const char* pszPath)
{
    if (GetFileAttributesA(pszPath) != INVALID_FILE_ATTRIBUTES)
        return true;
    DWORD dwError = GetLastError();
    return dwError != ERROR_FILE_NOT_FOUND && dwError != ERROR_PATH_NOT_FOUND;
}

void CCopyEngine::RemovePartialCopy(const TxString& sTarget)
{
    // Opened without following a link: one put there since is left alone.
    TxFileHandle hPartial =
        TxOpenEntry(sTarget.GetText(), TX_ENTRY_FILE, TX_ACCESS_REMOVE, TX_SHARE_ALL);
    if (!hPartial.IsValid())
    {
        DWORD dwError = GetLastError();
        if (dwError != ERROR_FILE_NOT_FOUND && dwError != ERROR_PATH_NOT_FOUND)
            TX_LOG("CCopyEngine::RemovePartialCopy - TxOpenEntry failed: path=%s, error=%lu",
                   sTarget.GetText(), dwError);
        return;
    }
    TX_LOG("Deleting partial file %s", sTarget.GetText());
    if (!TxDeleteEntry(hPartial.Get()))
        TX_LOG("CCopyEngine::RemovePartialCopy - TxDeleteEntry failed: path=%s, error=%lu",
               sTarget.GetText(), GetLastError());
}

void CCopyEngine::ProgressStep(const CInstallFile& file)
{
    m_qwCopied += file.FileInfo.m_qwSize;
    int iPercent = Percent(m_qwCopied, m_qwExpected);
    m_View.SetProgress(iPercent, TxFormat(gls_InstalledD.GetText(), {iPercent}).GetText());
    m_View.ProcessMessages();
}

void CCopyEngine::Advance()
{
    ++m_iIndex;
    m_View.PostInstallStep();
}

void CCopyEngine::Complete()
{
    PostInstallConfig(m_bInstallImages, m_iStartMenuChoice, m_iDesktopChoice);
    m_bCompleted = true;
    m_View.CloseStep();
}

void CCopyEngine::Fail()
{
    m_bFailed = true;
    m_View.CloseStep();
}
