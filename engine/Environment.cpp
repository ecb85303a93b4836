#include "Environment.h"

#include "CLog.h"
#include "RegistryHelpers.h"
#include "SetupState.h"
#include "TxDiskApi.h"
#include "TxFindFile.h"
#include "TxHandles.h"
#include "TxSystemLibrary.h"

#include <shlobj.h>

namespace
{
using SHGetFolderPathAProc = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);

struct ShellFolderLibrary
{
    TxModule hShell;
    TxModule hModule;
    SHGetFolderPathAProc pfn = nullptr;
};

// The shell folder library is loaded from the system folder only, so that a
// DLL planted beside the setup (a download folder) is never used. Its
// function forwards to shell32, loaded first from there too: a loader that
// resolves the forward by name may otherwise search the setup's folder.
ShellFolderLibrary LoadShellFolderLibrary()
{
    ShellFolderLibrary library;
    library.hShell.Reset(LoadSystemLibrary("shell32.dll"));
    library.hModule.Reset(LoadSystemLibrary("SHFOLDER.DLL"));
    library.pfn = ModuleFunction<SHGetFolderPathAProc>(library.hModule.Get(), "SHGetFolderPathA");
    return library;
}

// Loaded once, on first use, and kept until the program ends.
SHGetFolderPathAProc ShellFolderFunction()
{
    static const ShellFolderLibrary s_Library = LoadShellFolderLibrary();
    return s_Library.pfn;
}

TxString WithProductFolder(const TxString& sFolder, const char* pszProduct)
{
    return JoinPath(sFolder.GetText(), pszProduct);
}

void SettleSetupFolders(const char* pszProgramPath)
{
    g_sSetupDir = SetupDirFromProgramPath(pszProgramPath);
    TX_LOG("Setup dir: %s", g_sSetupDir.GetText());
    g_sImgSrcDir = g_sSetupDir;
    TxString sCandidate = JoinPath(g_sSetupDir.GetText(), "Images");
    if (DirectoryExists(sCandidate.GetText()))
    {
        g_sImgSrcDir = sCandidate;
        TX_LOG("Image files found at: %s", g_sImgSrcDir.GetText());
    }
}

void SettleProgramTarget()
{
    TxString sProgramFiles;
    long lStatus = QuerySpecialFolder(CSIDL_PROGRAM_FILES, sProgramFiles);
    TX_LOG("Program files path: %s", sProgramFiles.GetText());
    if (lStatus != 0 && lStatus != 1)
        sProgramFiles = "C:\\Program Files";
    g_sPrgFolderName = PRODUCT_FOLDER_NAME;
    g_sDstDir = WithProductFolder(sProgramFiles, g_sPrgFolderName.GetText());
    TxString sEarlier;
    // An empty value names no folder at all: keep the default then.
    if (RegistryGetString(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, INSTALLED_PRG_DIR_VALUE, sEarlier) &&
        !sEarlier.IsEmpty())
        g_sDstDir = sEarlier;
    TX_LOG("g_sDstDir: %s", g_sDstDir.GetText());
}

void SettleImageTarget()
{
    TxString sPictures;
    long lStatus = QuerySpecialFolder(CSIDL_MYPICTURES, sPictures);
    TX_LOG("My pictures path: %s", sPictures.GetText());
    if (lStatus != 0 && QuerySpecialFolder(CSIDL_PERSONAL, sPictures) != 0)
        sPictures = "C:";
    g_sImgFolderName = PRODUCT_FOLDER_NAME;
    g_sImgDstDir = WithProductFolder(sPictures, g_sImgFolderName.GetText());
}

void SettleShortcutFolder(int iCsidl, const char* pszLogFormat, TxString& sFolder)
{
    TxString sAnswer;
    long lStatus = QuerySpecialFolder(iCsidl, sAnswer);
    TX_LOG(pszLogFormat, sAnswer.GetText());
    sFolder = "";
    if (lStatus == 0 && !sAnswer.IsEmpty())
        sFolder = sAnswer;
}

void SettleSystemFolders()
{
    char szPath[500];
    UINT n = GetWindowsDirectoryA(szPath, sizeof(szPath));
    g_sWindowsDir = (n > 0 && n < sizeof(szPath)) ? szPath : "";
    TX_LOG("Windows path: %s", g_sWindowsDir.GetText());
    n = GetSystemDirectoryA(szPath, sizeof(szPath));
    g_sSystemDir = (n > 0 && n < sizeof(szPath)) ? szPath : "";
    TX_LOG("Windows system path: %s", g_sSystemDir.GetText());
}
} // namespace

long QuerySpecialFolder(int iCsidl, TxString& sPath)
{
    sPath = "";
    SHGetFolderPathAProc pfn = ShellFolderFunction();
    if (pfn == nullptr)
        return E_FAIL;
    char szPath[MAX_PATH + 1] = "";
    HRESULT hr = pfn(nullptr, iCsidl, nullptr, 0, szPath);
    szPath[MAX_PATH] = 0;
    if (hr == S_OK || hr == S_FALSE)
        sPath = szPath;
    return hr;
}

void FindImages()
{
    g_qwImgSize = 0;
    TxFindFile find;
    for (bool bFound = find.FindFirst(g_sImgSrcDir.GetText(), "*.jpg"); bFound;
         bFound = find.FindNext())
    {
        if (find.IsDirectory())
            continue;
        TxFileInfo info;
        find.GetInfo(info);
        CInstallFile* pImage = g_ImageFiles.Add(info.m_sName.GetText(), "", "", 0);
        pImage->FileInfo = info;
        g_qwImgSize += info.m_qwSize;
    }
    TX_LOG("Found %d images", g_ImageFiles.GetCount());
}

void PrepareEnvironment(const char* pszProgramPath)
{
    SettleSetupFolders(pszProgramPath);
    SettleProgramTarget();
    SettleImageTarget();
    SettleShortcutFolder(CSIDL_COMMON_PROGRAMS, "Common Start menu path: %s", g_sCommonPrograms);
    SettleShortcutFolder(CSIDL_COMMON_DESKTOPDIRECTORY, "Common Desktop path: %s",
                         g_sCommonDesktop);
    SettleShortcutFolder(CSIDL_PROGRAMS, "Start menu path: %s", g_sPrograms);
    SettleShortcutFolder(CSIDL_DESKTOPDIRECTORY, "Desktop path: %s", g_sDesktop);
    SettleSystemFolders();
    g_InstallFiles.FreeAll();
    BuildInstallPlan(g_InstallFiles, g_sSystemDir.GetText());
    g_ImageFiles.FreeAll();
    FindImages();
}
