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
#include "TxSafeFile.h"

#include <shlobj.h>
#include <vector>

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

namespace
{
// The saved link in a new file: a name taken since it was cleared (a link
// planted there included) fails instead of being written through.
bool WriteShortcutFile(IStream* pStream, const char* pszLinkFile)
{
    ULARGE_INTEGER size = {};
    LARGE_INTEGER start = {};
    if (FAILED(pStream->Seek(start, STREAM_SEEK_CUR, &size)) ||
        FAILED(pStream->Seek(start, STREAM_SEEK_SET, nullptr)) || size.HighPart != 0)
        return false;
    std::vector<char> bytes(size.LowPart);
    ULONG cbRead = 0;
    if (!bytes.empty() &&
        (FAILED(pStream->Read(bytes.data(), size.LowPart, &cbRead)) || cbRead != size.LowPart))
        return false;
    TxFileHandle hFile = TxCreateNewFile(pszLinkFile, GENERIC_WRITE | DELETE, 0);
    DWORD dwWritten = 0;
    if (hFile.IsValid() &&
        WriteFile(hFile.Get(), bytes.data(), size.LowPart, &dwWritten, nullptr) &&
        dwWritten == size.LowPart)
        return true;
    DWORD dwError = GetLastError();
    TX_LOG("CreateShortCut: writing %s failed, error=%lu", pszLinkFile, dwError);
    if (hFile.IsValid())
        TxDeleteEntry(hFile.Get());
    return false;
}
} // namespace

bool CreateShortCut(const char* pszTarget, const char* pszLinkFile, const char* pszDescription)
{
    TxComInit com;
    TxComPtr<IShellLinkA> pLink;
    if (FAILED(TxCreateInstance(CLSID_ShellLink, IID_IShellLinkA, pLink.Receive())))
    {
        TX_LOG("CreateShortCut: CoCreateInstance failed!");
        return false;
    }
    TxComPtr<IPersistStream> pPersist;
    if (FAILED(pLink->QueryInterface(IID_IPersistStream, pPersist.Receive())))
    {
        TX_LOG("CreateShortCut: QueryInterface(IID_IPersistStream) failed!");
        return false;
    }
    ShortcutStep(pLink->SetPath(pszTarget), "CreateShortCut: SetPath failed!");
    ShortcutStep(pLink->SetDescription(pszDescription), "CreateShortCut: SetDescription failed!");
    // Saved in memory and written by the setup itself, not by the shell
    // object, which would write through whatever stands under the name.
    TxComPtr<IStream> pStream;
    bool bSaved =
        ShortcutStep(TxCreateMemoryStream(reinterpret_cast<IStream**>(pStream.Receive())),
                     "CreateShortCut: CreateStreamOnHGlobal failed!") &&
        ShortcutStep(pPersist->Save(pStream.Get(), TRUE), "CreateShortCut: Save failed!") &&
        WriteShortcutFile(pStream.Get(), pszLinkFile);
    pStream.Reset();
    pPersist.Reset();
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
