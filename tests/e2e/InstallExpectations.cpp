#include "InstallExpectations.h"

#include "E2eFiles.h"
#include "E2eMedium.h"
#include "ProcessTree.h"
#include "TxHandles.h"

#include <gtest/gtest.h>

std::vector<std::string> PlanFileNames()
{
    std::vector<std::string> names = {
        "QvAgent.exe",   "QvApi.dll",    "QvManag.exe",  "QvLang.dat",   "QvImage.dll",
        "Uninstall.exe", "Quorvane.scr", "License.html", "Quorvane.chm", "ReadMe.html"};
    for (int i = 1; i <= 20; ++i)
    {
        char szName[32];
        wsprintfA(szName, "Texture%03d.bmp", i);
        names.push_back(szName);
    }
    return names;
}

std::string PlanTarget(const ProductPaths& paths, const std::string& sName)
{
    if (sName == "Quorvane.scr")
        return paths.ScreenSaver();
    if (sName.compare(0, 7, "Texture") == 0)
        return JoinPath(JoinPath(paths.sProgramDir, "Textures"), sName);
    return JoinPath(paths.sProgramDir, sName);
}

std::string PlanSource(const std::string& sName, const std::string& sLangEName)
{
    size_t nDot = sName.rfind('.');
    bool bLocalised = sName == "License.html" || sName == "Quorvane.chm" || sName == "ReadMe.html";
    if (bLocalised && nDot != std::string::npos)
    {
        std::string sVariant = sName.substr(0, nDot) + "_" + sLangEName + sName.substr(nDot);
        if (FileExists(SampleFilePath(sVariant)))
            return SampleFilePath(sVariant);
    }
    return SampleFilePath(sName);
}

namespace
{
void ExpectSameFile(const std::string& sSource, const std::string& sTarget)
{
    std::string sExpected;
    std::string sActual;
    ASSERT_TRUE(ReadBytes(sSource, sExpected)) << sSource;
    ASSERT_TRUE(ReadBytes(sTarget, sActual)) << "not installed: " << sTarget;
    EXPECT_TRUE(sActual == sExpected) << sTarget << " differs from " << sSource;
    EXPECT_EQ(LastWriteTime(sTarget), LastWriteTime(sSource)) << "file time of " << sTarget;
}

void ExpectRegString(const char* pszKey, const char* pszValue, const std::string& sExpected)
{
    std::string sData;
    EXPECT_TRUE(ReadRegString(pszKey, pszValue, sData)) << pszKey << "\\" << pszValue;
    EXPECT_EQ(sData, sExpected) << pszKey << "\\" << pszValue;
}
} // namespace

namespace
{
bool StartsWithPath(const std::string& sPath, const std::string& sFolder)
{
    return sPath.size() > sFolder.size() &&
           lstrcmpiA(sPath.substr(0, sFolder.size()).c_str(), sFolder.c_str()) == 0;
}

std::string WindowsFolder(const char* pszChild)
{
    char szWindows[MAX_PATH] = "";
    UINT n = GetWindowsDirectoryA(szWindows, MAX_PATH);
    return JoinPath(n > 0 && n < MAX_PATH ? szWindows : "C:\\windows", pszChild);
}
} // namespace

void ExpectTheBuildsView(const ProductPaths& paths)
{
    // "sysnative" is how a 32-bit program names the 64-bit system folder.
#ifdef _WIN64
    const char* pszProgramFiles = "C:\\Program Files\\";
    const std::string sOwnSystem = WindowsFolder("system32");
    const std::string sOtherSystem = WindowsFolder("syswow64");
    const REGSAM own = KEY_WOW64_64KEY;
    const REGSAM other = KEY_WOW64_32KEY;
#else
    BOOL bWow64 = FALSE;
    ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &bWow64));
    ASSERT_TRUE(bWow64) << "the 32-bit tests expect a 64-bit Windows";
    const char* pszProgramFiles = "C:\\Program Files (x86)\\";
    const std::string sOwnSystem = WindowsFolder("syswow64");
    const std::string sOtherSystem = WindowsFolder("sysnative");
    const REGSAM own = KEY_WOW64_32KEY;
    const REGSAM other = KEY_WOW64_64KEY;
#endif
    EXPECT_TRUE(StartsWithPath(paths.sProgramDir, pszProgramFiles)) << paths.sProgramDir;
    EXPECT_TRUE(FileExists(JoinPath(sOwnSystem, "Quorvane.scr"))) << sOwnSystem;
    EXPECT_FALSE(FileExists(JoinPath(sOtherSystem, "Quorvane.scr"))) << sOtherSystem;
    const struct
    {
        const char* pszKey;
        const char* pszValue;
    } values[] = {{SETUP_KEY, "InstalledPrgDir"},
                  {RUN_KEY, "QuorvaneAgent"},
                  {UNINSTALL_KEY, "UninstallString"}};
    for (const auto& value : values)
    {
        EXPECT_TRUE(RegValueExists(value.pszKey, value.pszValue, own)) << value.pszKey;
        EXPECT_FALSE(RegValueExists(value.pszKey, value.pszValue, other)) << value.pszKey;
    }
}

void ExpectProgramFiles(const ProductPaths& paths, const std::string& sLangEName)
{
    for (const std::string& sName : PlanFileNames())
        ExpectSameFile(PlanSource(sName, sLangEName), PlanTarget(paths, sName));
    EXPECT_EQ(ListFiles(paths.sProgramDir).size(), 10u) << "9 program files and Install.log";
    EXPECT_EQ(ListFiles(JoinPath(paths.sProgramDir, "Textures")).size(), 20u);
}

void ExpectImages(const ProductPaths& paths, const std::string& sMediumImages,
                  const std::vector<std::string>& names)
{
    EXPECT_EQ(ListFiles(paths.sImageDir).size(), names.size());
    for (const std::string& sName : names)
        ExpectSameFile(JoinPath(sMediumImages, sName), JoinPath(paths.sImageDir, sName));
}

void ExpectSystemConfiguration(const ProductPaths& paths, bool bImages)
{
    ExpectRegString(SETUP_KEY, "InstalledPrgDir", paths.sProgramDir);
    if (bImages)
        ExpectRegString(SETUP_KEY, "InstalledImgDir", paths.sImageDir);
    else
        EXPECT_FALSE(RegValueExists(SETUP_KEY, "InstalledImgDir"));
    // Both commands are quoted: the folder holds a blank.
    ExpectRegString(RUN_KEY, "QuorvaneAgent",
                    "\"" + JoinPath(paths.sProgramDir, "QvAgent.exe") + "\" /r");
    EXPECT_FALSE(RegValueExists(RUN_KEY, "t_e_s_t")) << "the rights probe left its value";
    ExpectRegString(UNINSTALL_KEY, "DisplayName", "Quorvane 1.04");
    ExpectRegString(UNINSTALL_KEY, "DisplayIcon", JoinPath(paths.sProgramDir, "QvManag.exe"));
    ExpectRegString(UNINSTALL_KEY, "UninstallString",
                    "\"" + JoinPath(paths.sProgramDir, "Uninstall.exe") + "\"");

    // Default choices: Start menu for all users, no desktop icon.
    std::string sLink = JoinPath(paths.sCommonPrograms, SHORTCUT_NAME);
    ShortcutInfo link;
    EXPECT_TRUE(ReadShortcut(sLink, link)) << "no shortcut " << sLink;
    EXPECT_EQ(lstrcmpiA(link.sTarget.c_str(), JoinPath(paths.sProgramDir, "QvManag.exe").c_str()),
              0)
        << link.sTarget;
    EXPECT_EQ(link.sDescription, "Quorvane Wallpaper Manager");
    for (const std::string& sPlace : paths.ShortcutPlaces())
    {
        EXPECT_TRUE(sPlace == sLink || !FileExists(sPlace)) << sPlace;
    }
}

void ExpectLanguageExport(const std::string& sLanguage, const std::string& sLangEName,
                          DWORD dwLangId, const std::string& sGlxCancel)
{
    ExpectRegString(LANGUAGE_KEY, "Language", sLanguage);
    ExpectRegString(LANGUAGE_KEY, "LangEName", sLangEName);
    DWORD dwId = 0;
    EXPECT_TRUE(ReadRegDword(LANGUAGE_KEY, "LangId", dwId));
    EXPECT_EQ(dwId, dwLangId);
    ExpectRegString(LANGUAGE_KEY, "glx_Cancel", sGlxCancel);
    // Only the other programs' texts are exported, never the setup's own.
    EXPECT_FALSE(RegValueExists(LANGUAGE_KEY, "gls_Welcome"));
}

std::vector<std::string> ExpectedLogRecords(const ProductPaths& paths, bool bNewProgramFolder,
                                            const std::vector<std::string>& images)
{
    std::vector<std::string> records;
    if (bNewProgramFolder)
        records.push_back("S_FOLDER_ " + paths.sProgramDir);
    if (!images.empty())
        records.push_back("S_FOLDER_ " + paths.sImageDir);
    for (const std::string& sName : PlanFileNames())
    {
        // The textures' subfolder is recorded too, so that a rollback can
        // empty the program folder.
        if (sName == "Texture001.bmp")
            records.push_back("S_FOLDER_ " + JoinPath(paths.sProgramDir, "Textures"));
        records.push_back("S_PRGFILE " + PlanTarget(paths, sName));
    }
    for (const std::string& sName : images)
        records.push_back("S_IMGFILE " + JoinPath(paths.sImageDir, sName));
    records.push_back("S_AUTORUN QuorvaneAgent");
    records.push_back("S_LNKFILE " + JoinPath(paths.sCommonPrograms, SHORTCUT_NAME));
    records.push_back("S_PRGFILE " + JoinPath(paths.sProgramDir, "Install.log"));
    records.push_back("S_UNINST_ Quorvane");
    return records;
}

bool IsTimeLine(const std::string& sLine)
{
    const std::string sPattern = "S_TIME___ dd.dd.dddd dd:dd";
    if (sLine.size() != sPattern.size())
        return false;
    for (size_t i = 0; i < sLine.size(); ++i)
    {
        bool bDigit = sLine[i] >= '0' && sLine[i] <= '9';
        if (sPattern[i] == 'd' ? !bDigit : sLine[i] != sPattern[i])
            return false;
    }
    return true;
}

void ExpectStartedInItsFolder(DWORD dwProcessId, const std::string& sProgram)
{
    // Not the setup's folder, which may be a download folder.
    std::string sFolder = sProgram.substr(0, sProgram.rfind('\\'));
    EXPECT_EQ(JoinPath(ProcessCurrentFolder(dwProcessId), ""), JoinPath(sFolder, ""));
    // Quoted: a path with blanks must not be read as another program.
    std::string sCommand = ProcessCommandLine(dwProcessId);
    EXPECT_EQ(sCommand.substr(0, sProgram.size() + 2), "\"" + sProgram + "\"") << sCommand;
}
