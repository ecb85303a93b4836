#include "InstallSandbox.h"

#include "CSetupDatFile.h"
#include "Environment.h"
#include "InstallBackup.h"
#include "InstallHistory.h"
#include "LanguageCatalogue.h"
#include "PostInstall.h"
#include "RegistryHelpers.h"
#include "SetupArchive.h"
#include "SetupState.h"
#include "StringTables.h"
#include "TestMedium.h"
#include "UninstallLog.h"

#include <windows.h>

namespace
{
void ListTree(const std::string& sPath, std::set<std::string>& paths)
{
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((sPath + "\\*").c_str(), &data);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do
    {
        std::string sName = data.cFileName;
        if (sName == "." || sName == "..")
            continue;
        std::string sChild = sPath + "\\" + sName;
        paths.insert(sChild);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ListTree(sChild, paths);
    } while (FindNextFileA(h, &data));
    FindClose(h);
}
} // namespace

CInstallSandbox::CInstallSandbox(size_t cbImageUnit)
{
    TestArchive archive = PlanArchive();
    archive["License_ENGLISH.html"] = {"English licence", TestFileTime(40)};
    archive["License_GERMAN.html"] = {"Deutsche Lizenz", TestFileTime(41)};
    CreateDirectoryA((m_Root / "Medium").c_str(), nullptr);
    CreateDirectoryA(Medium("Images").c_str(), nullptr);
    for (int i = 1; i <= 3; ++i)
        WriteWholeFile(Medium("Images\\img" + std::to_string(i) + ".jpg"),
                       std::string(static_cast<size_t>(i) * cbImageUnit, 'j'));
    WriteTestArchive(Medium("Setup.dat"), archive);
    CreateDirectoryA((m_Root / "Target").c_str(), nullptr);
    CreateDirectoryA(Target("System32").c_str(), nullptr);
    CreateDirectoryA(Target("Desktop").c_str(), nullptr);
}

CInstallSandbox::~CInstallSandbox()
{
    g_SetupDat.CloseDatFile();
    g_History.FreeAll();
}

bool CInstallSandbox::Prepare()
{
    SetDefaultTexts();
    g_sLangEName = "ENGLISH";
    g_History.FreeAll();
    PrepareEnvironment(Medium("Setup.exe").c_str());
    g_sDstDir = (m_sProgramDir.empty() ? Target("Program Files\\Quorvane") : m_sProgramDir).c_str();
    g_sImgDstDir = (m_sImageDir.empty() ? Target("Pictures\\Quorvane") : m_sImageDir).c_str();
    g_sPrograms = Target("Start Menu\\Programs").c_str();
    g_sDesktop = Target("Desktop").c_str();
    g_sCommonPrograms = g_sPrograms;
    g_sCommonDesktop = g_sDesktop;
    // The screen saver goes to a system folder of the sandbox, not the prefix's.
    for (int i = 0; i < g_InstallFiles.GetCount(); ++i)
    {
        CInstallFile& file = *g_InstallFiles.FileAt(i);
        if (!file.sDstFolder.IsEmpty())
            file.sDstFolder = Target("System32").c_str();
    }
    m_Before = Snapshot();
    CFakeInstallView view;
    return OpenSetupArchive(g_SetupDat, view);
}

void CInstallSandbox::Install(CCopyEngine& engine, CFakeInstallView& view, ImageChoice images,
                              int iShortcuts)
{
    engine.Start(images, 2, 7, iShortcuts, iShortcuts);
    view.Run(engine);
}

bool CInstallSandbox::InstallEarlier()
{
    if (!Prepare())
        return false;
    g_sLanguage = "Deutsch";
    g_LangId = 7;
    g_sLangEName = "GERMAN";
    for (const CTextKey& key : g_TextKeys)
        if (std::string(key.pszKey).compare(0, 4, "glu_") == 0)
            *key.pText = (std::string("DE ") + key.pszEnglish).c_str();
    CFakeInstallView view;
    CCopyEngine engine(view, g_SetupDat);
    Install(engine, view, IMAGES_RANDOM, SHORTCUT_ALL_USERS);
    bool bDone = engine.Completed() && !engine.Failed() && view.m_Messages.empty();
    if (bDone)
    {
        SaveUninstallInfo();
        DiscardKept();
    }
    g_History.FreeAll();
    g_SetupDat.CloseDatFile();
    SetFileAttributesA(JoinPath(g_sDstDir.GetText(), "QvLang.dat").GetText(),
                       FILE_ATTRIBUTE_READONLY);
    std::string sNotes = JoinPath(g_sDstDir.GetText(), "My notes.txt").GetText();
    WriteWholeFile(sNotes, "the user's own notes");
    SetFileAttributesA(sNotes.c_str(), FILE_ATTRIBUTE_HIDDEN);
    return bDone;
}

void CInstallSandbox::RollBackAndClose()
{
    RollBack();
    g_History.FreeAll();
    g_SetupDat.CloseDatFile();
}

std::set<std::string> CInstallSandbox::Snapshot() const
{
    std::set<std::string> paths;
    ListTree(m_Root / "Target", paths);
    return paths;
}

std::vector<std::string> CInstallSandbox::Leftovers()
{
    std::vector<std::string> left;
    std::set<std::string> now = Snapshot();
    for (auto it = now.rbegin(); it != now.rend(); ++it)
    {
        if (m_Before.count(*it) != 0)
            continue;
        left.push_back(*it);
        SetFileAttributesA(it->c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileA(it->c_str()))
            RemoveDirectoryA(it->c_str());
    }
    if (AutorunExists(REG_AUTORUN_VALUE))
    {
        left.push_back(std::string("autorun value ") + REG_AUTORUN_VALUE);
        RemoveAutorun(REG_AUTORUN_VALUE);
    }
    // Not undone by the rollback by design, but no business of the next run.
    RegistryDeleteValue(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, INSTALLED_PRG_DIR_VALUE);
    RegistryDeleteValue(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, INSTALLED_IMG_DIR_VALUE);
    RegistryDeleteValue(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, INSTALLED_IMG_DIRS_VALUE);
    return left;
}
