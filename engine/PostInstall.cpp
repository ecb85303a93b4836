#include "PostInstall.h"

#include "CLog.h"
#include "FolderCreation.h"
#include "InstallBackup.h"
#include "InstallHistory.h"
#include "RegistryHelpers.h"
#include "SetupState.h"
#include "TxComLibrary.h"
#include "TxDiskApi.h"
#include "TxHandles.h"
#include "TxPrint.h"

#include <shlobj.h>

namespace
{
bool ShortcutStep(HRESULT hr, const char* pszFailure)
{
    if (SUCCEEDED(hr))
        return true;
    TX_LOG("%s", pszFailure);
    return false;
}

// Logs, creates and records one shortcut in pszFolder.
void MakeShortcut(const TxString& sTarget, const TxString& sFolder)
{
    TxString sLink = JoinPath(sFolder.GetText(), SHORTCUT_FILE_NAME);
    TX_LOG("Creating shortcut to %s in %s", sTarget.GetText(), sLink.GetText());
    if (!KeepFile(sLink.GetText()))
        TX_LOG("Unsuccessful!");
    else if (CreateShortCut(sTarget.GetText(), sLink.GetText(), SHORTCUT_DESCRIPTION))
    {
        TX_LOG("Successful");
        g_History.Record(LNKFILE, sLink.GetText());
    }
    else
        TX_LOG("Unsuccessful!");
}

void StartMenuShortcut(const TxString& sTarget, int iChoice)
{
    const TxString& sFolder = iChoice == SHORTCUT_ALL_USERS ? g_sCommonPrograms : g_sPrograms;
    // A folder the system does not name would put the link in the current
    // folder: make none.
    if (sFolder.IsEmpty())
        return;
    if (!DirectoryExists(sFolder.GetText()))
    {
        if (!CreateFolderRecorded(sFolder.GetText()))
        {
            TX_LOG("Cannot create folder %s!", sFolder.GetText());
            return;
        }
    }
    MakeShortcut(sTarget, sFolder);
}

void DesktopShortcut(const TxString& sTarget, int iChoice)
{
    const TxString& sFolder = iChoice == SHORTCUT_ALL_USERS ? g_sCommonDesktop : g_sDesktop;
    if (!sFolder.IsEmpty())
        MakeShortcut(sTarget, sFolder);
}
// The uninstaller removes the images of every installation "Install.log"
// records, but trusts only image folders an administrator wrote down: keep
// the earlier one before "InstalledImgDir" is replaced or deleted.
void RememberImageFolders(bool bInstallImages)
{
    TxString sEarlier;
    if (RegistryGetString(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, INSTALLED_IMG_DIR_VALUE, sEarlier))
        RegistryAddToList(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, INSTALLED_IMG_DIRS_VALUE,
                          sEarlier.GetText());
    if (bInstallImages)
        RegistryAddToList(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, INSTALLED_IMG_DIRS_VALUE,
                          g_sImgDstDir.GetText());
}
} // namespace

void AgentCommandLine(const char* pszProgramDir, char* pszOut, int cchOut)
{
    TxString sAgent = JoinPath(pszProgramDir, "QvAgent.exe");
    TxPrint(pszOut, static_cast<size_t>(cchOut), "\"%s\" /r", sAgent.GetText());
}

bool CreateShortCut(const char* pszTarget, const char* pszLinkFile, const char* pszDescription)
{
    TxComInit com;
    TxComPtr<IShellLinkA> pLink;
    if (FAILED(TxCreateInstance(CLSID_ShellLink, IID_IShellLinkA, pLink.Receive())))
    {
        TX_LOG("CreateShortCut: CoCreateInstance failed!");
        return false;
    }
    TxComPtr<IPersistFile> pFile;
    if (FAILED(pLink->QueryInterface(IID_IPersistFile, pFile.Receive())))
    {
        TX_LOG("CreateShortCut: QueryInterface(IID_IPersistFile) failed!");
        return false;
    }
    ShortcutStep(pLink->SetPath(pszTarget), "CreateShortCut: SetPath failed!");
    ShortcutStep(pLink->SetDescription(pszDescription), "CreateShortCut: SetDescription failed!");
    WCHAR wszPath[MAX_PATH] = L"";
    if (MultiByteToWideChar(CP_ACP, 0, pszLinkFile, -1, wszPath, MAX_PATH) == 0)
        wszPath[0] = 0;
    bool bSaved = ShortcutStep(pFile->Save(wszPath, TRUE), "CreateShortCut: Save failed!");
    pFile.Reset();
    pLink.Reset();
    return bSaved;
}

void PostInstallConfig(bool bInstallImages, int iStartMenuChoice, int iDesktopChoice)
{
    KeepRegistryValue(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, INSTALLED_IMG_DIR_VALUE);
    KeepRegistryValue(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, INSTALLED_IMG_DIRS_VALUE);
    KeepRegistryValue(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, INSTALLED_PRG_DIR_VALUE);
    KeepRegistryValue(HKEY_LOCAL_MACHINE, REG_RUN_KEY, REG_AUTORUN_VALUE);
    RememberImageFolders(bInstallImages);
    if (bInstallImages)
        RegistrySetString(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, INSTALLED_IMG_DIR_VALUE,
                          g_sImgDstDir.GetText());
    else
        RegistryDeleteValue(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, INSTALLED_IMG_DIR_VALUE);
    RegistrySetString(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, INSTALLED_PRG_DIR_VALUE,
                      g_sDstDir.GetText());

    char szCommand[MAX_PATH * 2];
    AgentCommandLine(g_sDstDir.GetText(), szCommand, sizeof(szCommand));
    SetAutorun(REG_AUTORUN_VALUE, szCommand);
    g_History.Record(AUTORUN, "");

    TxString sTarget = JoinPath(g_sDstDir.GetText(), "QvManag.exe");
    if (iStartMenuChoice == SHORTCUT_CURRENT_USER || iStartMenuChoice == SHORTCUT_ALL_USERS)
        StartMenuShortcut(sTarget, iStartMenuChoice);
    if (iDesktopChoice == SHORTCUT_CURRENT_USER || iDesktopChoice == SHORTCUT_ALL_USERS)
        DesktopShortcut(sTarget, iDesktopChoice);
}
