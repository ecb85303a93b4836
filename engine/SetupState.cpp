#include "SetupState.h"

#include "CSetupDatFile.h"
#include "TxPrint.h"

TxString g_sSetupDir;
TxString g_sImgSrcDir;
TxString g_sDstDir;
TxString g_sImgDstDir;
TxString g_sPrgFolderName;
TxString g_sImgFolderName;
TxString g_sCommonPrograms;
TxString g_sCommonDesktop;
TxString g_sPrograms;
TxString g_sDesktop;
TxString g_sWindowsDir;
TxString g_sSystemDir;
CInstallFileList g_InstallFiles;
CInstallFileList g_ImageFiles;
CSetupDatFile g_SetupDat;
unsigned long long g_qwPrgSize = 0;
unsigned long long g_qwImgSize = 0;
unsigned long long g_qwFreeDst = 0;
unsigned long long g_qwImgInstallSize = 0;
unsigned long long g_qwFreeImg = 0;

CInstallFile* CInstallFileList::Add(const char* pszName, const char* pszDstFolder,
                                    const char* pszSubFolder, unsigned long dwFlags)
{
    CInstallFile* pFile = new CInstallFile();
    pFile->sSrcName = pszName;
    pFile->sDstName = pszName;
    pFile->sDstFolder = pszDstFolder;
    pFile->sSubFolder = pszSubFolder;
    pFile->dwFlags = dwFlags;
    try
    {
        Insert(pFile);
    }
    catch (...)
    {
        delete pFile;
        throw;
    }
    return pFile;
}

void BuildInstallPlan(CInstallFileList& plan, const char* pszSystemDir)
{
    static const char* const s_apszProgramFiles[] = {
        "QvAgent.exe", "QvApi.dll", "QvManag.exe", "QvLang.dat", "QvImage.dll", "Uninstall.exe",
    };
    for (const char* pszName : s_apszProgramFiles)
        plan.Add(pszName, "", "", IF_PACKED);
    plan.Add("Quorvane.scr", pszSystemDir, "", IF_PACKED);
    plan.Add("License.html", "", "", IF_LOCALIZED | IF_PACKED);
    plan.Add("Quorvane.chm", "", "", IF_LOCALIZED | IF_PACKED);
    plan.Add("ReadMe.html", "", "", IF_LOCALIZED | IF_PACKED);
    for (int i = 1; i <= TEXTURE_COUNT; ++i)
    {
        char szName[32];
        TxPrint(szName, sizeof(szName), "Texture%.3d.bmp", i);
        plan.Add(szName, "", "Textures", IF_PACKED);
    }
}

TxString SetupDirFromProgramPath(const char* pszProgramPath)
{
    TxString sPath(pszProgramPath);
    int iSlash = sPath.Find("\\", false, true, 1);
    int iColon = sPath.Find(":", false, true, 1);
    int iCut = iSlash > iColon ? iSlash : iColon;
    TxString sDir;
    if (iCut == 0)
        return sDir;
    // Keep the separator itself when it is a colon or the backslash of "D:\".
    bool bKeep = iCut == iColon || (iCut == iColon + 1 && iColon > 0);
    sPath.SubString(1, bKeep ? iCut : iCut - 1, sDir);
    return sDir;
}

TxString JoinPath(const char* pszFolder, const char* pszName)
{
    TxString s(pszFolder);
    if (!s.IsEmpty())
    {
        char ch = *s.CharAt(s.Length());
        if (ch != '\\' && ch != '/')
            s.Append("\\");
    }
    else
        s.Append("\\");
    s.Append(pszName);
    return s;
}
