#include "CSetupDatFile.h"
#include "CopyEngine.h"
#include "EngineTestSupport.h"
#include "Environment.h"
#include "InstallHistory.h"
#include "LanguageCatalogue.h"
#include "PostInstall.h"
#include "ProductNames.h"
#include "RegistryHelpers.h"
#include "SetupArchive.h"
#include "SetupState.h"
#include "StringTables.h"
#include "FakeInstallView.h"
#include "TestMedium.h"
#include "TxDiskApi.h"
#include "TxHandles.h"

#include <gtest/gtest.h>

#include <aclapi.h>

namespace
{
class CopyEngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetDefaultTexts();
        g_sLangEName = "ENGLISH";
        g_History.FreeAll();
        m_Archive = PlanArchive();
        m_Archive["License_ENGLISH.html"] = {"English licence", TestFileTime(40)};
        m_Archive["License_GERMAN.html"] = {"Deutsche Lizenz", TestFileTime(41)};
        CreateDirectoryA((m_Medium / "Images").c_str(), nullptr);
        for (int i = 1; i <= 5; ++i)
            WriteWholeFile(m_Medium / ("Images\\img" + std::to_string(i) + ".jpg"),
                           std::string(static_cast<size_t>(i) * 10, 'j'));
    }

    void TearDown() override
    {
        g_SetupDat.CloseDatFile();
        RollBack();
        g_History.FreeAll();
        RegistryDeleteValue(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, "InstalledPrgDir");
        RegistryDeleteValue(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, "InstalledImgDir");
        RegistryDeleteValue(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, INSTALLED_IMG_DIRS_VALUE);
        RemoveAutorun(REG_AUTORUN_VALUE);
        DeleteFileA(JoinPath(g_sSystemDir.GetText(), "Quorvane.scr").GetText());
        g_InstallFiles.FreeAll();
        g_ImageFiles.FreeAll();
    }

    // Makes the medium, prepares the state and opens the archive.
    void Prepare()
    {
        WriteTestArchive(m_Medium / "Setup.dat", m_Archive);
        PrepareEnvironment((m_Medium / "Setup.exe").c_str());
        g_sDstDir = (m_Target / "Program Files\\Quorvane").c_str();
        g_sImgDstDir = (m_Target / "Pictures\\Quorvane").c_str();
        CFakeInstallView openView;
        ASSERT_TRUE(OpenSetupArchive(g_SetupDat, openView));
    }

    // Starts an installation and runs it to its end.
    void Install(CFakeInstallView& view, CCopyEngine& engine, ImageChoice choice, int n = 0,
                 int iStartMenu = SHORTCUT_NONE, int iDesktop = SHORTCUT_NONE)
    {
        engine.Start(choice, n, 1, iStartMenu, iDesktop);
        view.Run(engine);
    }

    std::string Prg(const std::string& name) const
    {
        return std::string(g_sDstDir.GetText()) + "\\" + name;
    }

    // Nothing the installation made may remain after the rollback.
    void ExpectNothingLeft()
    {
        // The parents made on the way are the installation's too.
        EXPECT_FALSE(PathExists(m_Target / "Program Files"));
        EXPECT_FALSE(PathExists(m_Target / "Pictures"));
        EXPECT_FALSE(PathExists(JoinPath(g_sSystemDir.GetText(), "Quorvane.scr").GetText()));
        EXPECT_FALSE(AutorunExists(REG_AUTORUN_VALUE));
    }

    TempFolder m_Medium;
    TempFolder m_Target;
    TestArchive m_Archive;
};
} // namespace

TEST(CopyEngineRules, PercentAndVariantNames)
{
    EXPECT_EQ(CCopyEngine::Percent(0, 0), 0);
    EXPECT_EQ(CCopyEngine::Percent(5, 0), 0);
    EXPECT_EQ(CCopyEngine::Percent(42, 100), 42);
    EXPECT_EQ(CCopyEngine::Percent(300, 100), 100);
    EXPECT_EQ(CCopyEngine::Percent(5ull << 40, 10ull << 40), 50);
    EXPECT_STREQ(CCopyEngine::VariantName("ReadMe.html", "ENGLISH").GetText(),
                 "ReadMe_ENGLISH.html");
    EXPECT_STREQ(CCopyEngine::VariantName("a.b.chm", "GERMAN").GetText(), "a.b_GERMAN.chm");
    EXPECT_STREQ(CCopyEngine::VariantName("README", "GERMAN").GetText(), "README");
}

TEST_F(CopyEngineTest, FullInstallationPutsEveryFileInPlaceAndRecordsIt)
{
    Prepare();
    CreateDirectoryA((m_Target / "Program Files").c_str(), nullptr);
    CreateDirectoryA((m_Target / "Pictures").c_str(), nullptr);
    CFakeInstallView view;
    CCopyEngine engine(view, g_SetupDat);
    Install(view, engine, IMAGES_ALL, 0, SHORTCUT_CURRENT_USER, SHORTCUT_CURRENT_USER);

    EXPECT_TRUE(view.m_Messages.empty());
    EXPECT_TRUE(view.m_bClosed && engine.Completed() && !engine.Failed());
    EXPECT_TRUE(view.m_bProgressShown && view.m_bNavigationDisabled);
    EXPECT_EQ(view.m_Percents.back(), 100);
    EXPECT_EQ(view.m_sLabel, "Installed 100 %");

    for (int i = 0; i < g_InstallFiles.GetCount(); ++i)
    {
        const CInstallFile& file = *g_InstallFiles.FileAt(i);
        std::string name = file.sDstName.GetText();
        std::string target = !file.sDstFolder.IsEmpty()
                                 ? JoinPath(file.sDstFolder.GetText(), name.c_str()).GetText()
                             : file.sSubFolder.IsEmpty() ? Prg(name)
                                                         : Prg("Textures\\" + name);
        std::string expected = name == "License.html" ? "English licence" : m_Archive[name].content;
        EXPECT_EQ(ReadWholeFile(target), expected) << name;
        unsigned long long qwTime = name == "License.html"
                                        ? m_Archive["License_ENGLISH.html"].qwWriteTime
                                        : m_Archive[name].qwWriteTime;
        EXPECT_EQ(LastWriteTime(target), qwTime) << name;
    }
    EXPECT_FALSE(PathExists(Prg("License_ENGLISH.html")));
    for (int i = 1; i <= 5; ++i)
        EXPECT_TRUE(
            PathExists(std::string(g_sImgDstDir.GetText()) + "\\img" + std::to_string(i) + ".jpg"));

    // History: both target folders, the ten program files, the textures'
    // subfolder and the textures, the five images, autorun, both shortcuts.
    std::vector<int> expected = {FOLDER, FOLDER};
    expected.insert(expected.end(), 10, PRGFILE);
    expected.push_back(FOLDER);
    expected.insert(expected.end(), 20, PRGFILE);
    expected.insert(expected.end(), 5, IMGFILE);
    expected.push_back(AUTORUN);
    expected.insert(expected.end(), 2, LNKFILE);
    std::vector<int> kinds;
    for (int i = 0; i < g_History.GetCount(); ++i)
        kinds.push_back(g_History.ItemAt(i)->Kind);
    EXPECT_EQ(kinds, expected);
    EXPECT_STREQ(g_History.ItemAt(0)->sPath.GetText(), g_sDstDir.GetText());
    EXPECT_STREQ(g_History.ItemAt(1)->sPath.GetText(), g_sImgDstDir.GetText());
    EXPECT_EQ(std::string(g_History.ItemAt(12)->sPath.GetText()), Prg("Textures"));
    EXPECT_EQ(g_History.ItemAt(2)->FileInfo.m_qwSize, m_Archive["QvAgent.exe"].content.size());

    TxString s;
    ASSERT_TRUE(RegistryGetString(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, "InstalledPrgDir", s));
    EXPECT_STREQ(s.GetText(), g_sDstDir.GetText());
    ASSERT_TRUE(RegistryGetString(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, "InstalledImgDir", s));
    EXPECT_STREQ(s.GetText(), g_sImgDstDir.GetText());
    ASSERT_TRUE(RegistryGetString(HKEY_LOCAL_MACHINE, REG_RUN_KEY, REG_AUTORUN_VALUE, s));
    EXPECT_EQ(std::string(s.GetText()), "\"" + Prg("QvAgent.exe") + "\" /r");
}

// Wine keeps no ACLs but turns a folder's DACL into its Unix mode: a folder
// made with the program folders' DACL reads back without the Everyone ACE
// that Wine derives from the mode of a folder made with the inherited one.
TEST_F(CopyEngineTest, FoldersMadeForTheProgramsBelongToAdministrators)
{
    Prepare();
    CFakeInstallView view;
    CCopyEngine engine(view, g_SetupDat);
    Install(view, engine, IMAGES_ALL);
    ASSERT_TRUE(engine.Completed());
    auto grantsEveryone = [](const std::string& sFolder)
    {
        PACL pDacl = nullptr;
        PSECURITY_DESCRIPTOR pDescriptor = nullptr;
        EXPECT_EQ(GetNamedSecurityInfoA(sFolder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                        nullptr, nullptr, &pDacl, nullptr, &pDescriptor),
                  static_cast<DWORD>(ERROR_SUCCESS));
        TxLocalMem descriptor(pDescriptor);
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        BYTE everyone[SECURITY_MAX_SID_SIZE];
        InitializeSid(everyone, &world, 1);
        *GetSidSubAuthority(everyone, 0) = SECURITY_WORLD_RID;
        for (DWORD i = 0; pDacl != nullptr && i < pDacl->AceCount; ++i)
        {
            ACCESS_ALLOWED_ACE* pAce = nullptr;
            if (GetAce(pDacl, i, reinterpret_cast<void**>(&pAce)) &&
                EqualSid(&pAce->SidStart, everyone))
                return true;
        }
        return false;
    };
    for (const std::string& sFolder : {m_Target / "Program Files", Prg(""), Prg("Textures")})
        EXPECT_FALSE(grantsEveryone(sFolder)) << sFolder;
    EXPECT_TRUE(grantsEveryone(g_sImgDstDir.GetText())) << "the image folder is the user's own";
}

TEST_F(CopyEngineTest, ShortcutsAreRealLinksToTheManager)
{
    Prepare();
    CFakeInstallView view;
    CCopyEngine engine(view, g_SetupDat);
    Install(view, engine, IMAGES_NONE, 0, SHORTCUT_CURRENT_USER, SHORTCUT_ALL_USERS);
    std::string links[] = {JoinPath(g_sPrograms.GetText(), SHORTCUT_FILE_NAME).GetText(),
                           JoinPath(g_sCommonDesktop.GetText(), SHORTCUT_FILE_NAME).GetText()};
    for (const std::string& link : links)
    {
        ASSERT_TRUE(PathExists(link)) << link;
        ShortcutInfo info;
        ASSERT_TRUE(ReadShortcut(link, info)) << link;
        EXPECT_EQ(info.sDescription, SHORTCUT_DESCRIPTION);
        EXPECT_EQ(lstrcmpiA(info.sTarget.c_str(), Prg("QvManag.exe").c_str()), 0) << info.sTarget;
    }
    // Without images the earlier image folder value goes away.
    EXPECT_FALSE(RegistryValueExists(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, "InstalledImgDir"));
    RollBack();
    for (const std::string& link : links)
        EXPECT_FALSE(PathExists(link));
}

// The uninstaller trusts only image folders an administrator wrote down; a
// later installation without images, or into another image folder, must not
// make it forget the earlier ones.
TEST_F(CopyEngineTest, EveryImageFolderStaysNamedForTheUninstaller)
{
    Prepare();
    // An installation by an earlier setup, which kept no list.
    ASSERT_TRUE(
        RegistrySetString(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, "InstalledImgDir", "D:\\Older"));
    PostInstallConfig(true, SHORTCUT_NONE, SHORTCUT_NONE);
    PostInstallConfig(false, SHORTCUT_NONE, SHORTCUT_NONE);
    PostInstallConfig(false, SHORTCUT_NONE, SHORTCUT_NONE);
    EXPECT_FALSE(RegistryValueExists(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, "InstalledImgDir"));
    std::string sExpected = std::string("D:\\Older") + '\0' + g_sImgDstDir.GetText() + '\0' + '\0';
    TxRegKey key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, 0, KEY_QUERY_VALUE, key.Receive()),
              ERROR_SUCCESS);
    char szList[1024] = "";
    DWORD cbList = sizeof(szList);
    DWORD dwType = 0;
    ASSERT_EQ(RegQueryValueExA(key.Get(), INSTALLED_IMG_DIRS_VALUE, nullptr, &dwType,
                               reinterpret_cast<BYTE*>(szList), &cbList),
              ERROR_SUCCESS);
    EXPECT_EQ(dwType, static_cast<DWORD>(REG_MULTI_SZ));
    EXPECT_EQ(std::string(szList, cbList), sExpected);
}

TEST_F(CopyEngineTest, RandomSelectionKeepsNImagesInTheirOrder)
{
    struct Case
    {
        int n;
        int iKept;
    } cases[] = {{2, 2}, {5, 5}, {9, 5}, {0, 1}, {-3, 1}};
    for (const Case& c : cases)
    {
        Prepare();
        CFakeInstallView view;
        CCopyEngine engine(view, g_SetupDat);
        Install(view, engine, IMAGES_RANDOM, c.n);
        ASSERT_EQ(g_ImageFiles.GetCount(), c.iKept) << c.n;
        for (int i = 1; i < g_ImageFiles.GetCount(); ++i)
            EXPECT_LT(
                g_ImageFiles.FileAt(i - 1)->sSrcName.Compare(g_ImageFiles.FileAt(i)->sSrcName), 1);
        EXPECT_EQ(engine.Expected(), g_qwPrgSize + 150ull * c.iKept / 5) << c.n;
        g_SetupDat.CloseDatFile();
        RollBack();
        g_History.FreeAll();
        g_InstallFiles.FreeAll();
        g_ImageFiles.FreeAll();
    }
}

TEST_F(CopyEngineTest, ReadOnlyTargetIsOverwritten)
{
    Prepare();
    ForceDirectories(g_sDstDir.GetText());
    WriteWholeFile(Prg("QvApi.dll"), "old");
    SetFileAttributesA(Prg("QvApi.dll").c_str(), FILE_ATTRIBUTE_READONLY);
    CFakeInstallView view;
    CCopyEngine engine(view, g_SetupDat);
    Install(view, engine, IMAGES_NONE);
    EXPECT_FALSE(engine.Failed());
    EXPECT_EQ(ReadWholeFile(Prg("QvApi.dll")), m_Archive["QvApi.dll"].content);
    // The folder existed before: it is not recorded and stays after rollback.
    EXPECT_EQ(g_History.ItemAt(0)->Kind, PRGFILE);
    RollBack();
    EXPECT_TRUE(PathExists(g_sDstDir.GetText()));
    EXPECT_FALSE(PathExists(Prg("QvAgent.exe")));
    DeleteTree(g_sDstDir.GetText());
}

TEST_F(CopyEngineTest, FolderThatCannotBeCreatedFailsBeforeCopying)
{
    Prepare();
    WriteWholeFile(m_Target / "Pictures", "a file where the folder should be");
    CFakeInstallView view;
    CCopyEngine engine(view, g_SetupDat);
    Install(view, engine, IMAGES_ALL);
    ASSERT_EQ(view.m_Messages.size(), 1u);
    EXPECT_EQ(view.m_Messages[0],
              std::string("Error|Cannot create folder ") + g_sImgDstDir.GetText());
    EXPECT_EQ(view.m_uLastFlags, static_cast<unsigned>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_TRUE(engine.Failed() && !engine.Completed() && view.m_bClosed);
    EXPECT_EQ(view.Posted(), 0);
    RollBack();
    DeleteFileA((m_Target / "Pictures").c_str());
    ExpectNothingLeft();
}

TEST_F(CopyEngineTest, TargetFoldersWithTrailingSeparatorsInstall)
{
    Prepare();
    std::string sPrograms = m_Target / "Program Files";
    std::string sPictures = m_Target / "Pictures";
    g_sDstDir = (sPrograms + "\\Quorvane/").c_str();
    g_sImgDstDir = (sPictures + "\\Quorvane\\").c_str();
    CFakeInstallView view;
    CCopyEngine engine(view, g_SetupDat);
    Install(view, engine, IMAGES_ALL);
    EXPECT_TRUE(view.m_Messages.empty()) << view.m_Messages[0];
    EXPECT_FALSE(engine.Failed());
    EXPECT_TRUE(PathExists(sPrograms + "\\Quorvane\\QvAgent.exe"));
    EXPECT_TRUE(PathExists(sPictures + "\\Quorvane\\img1.jpg"));
    // The history names each folder once, without the separator.
    std::vector<std::string> folders;
    for (int i = 0; i < g_History.GetCount(); ++i)
        if (g_History.ItemAt(i)->Kind == FOLDER)
            folders.push_back(g_History.ItemAt(i)->sPath.GetText());
    EXPECT_EQ(folders, (std::vector<std::string>{sPrograms, sPrograms + "\\Quorvane", sPictures,
                                                 sPictures + "\\Quorvane",
                                                 sPrograms + "\\Quorvane\\Textures"}));
    RollBack();
    ExpectNothingLeft();
}

TEST_F(CopyEngineTest, RelativeTargetFolderFailsBeforeAnythingIsMade)
{
    Prepare();
    std::string sAbsolute = g_sDstDir.GetText();
    for (bool bProgram : {true, false})
    {
        SCOPED_TRACE(bProgram ? "program folder" : "image folder");
        g_sDstDir = bProgram ? "..\\Quorvane" : sAbsolute.c_str();
        g_sImgDstDir = bProgram ? (m_Target / "Pictures").c_str() : "Pictures";
        CFakeInstallView view;
        CCopyEngine engine(view, g_SetupDat);
        Install(view, engine, IMAGES_ALL);
        EXPECT_EQ(view.m_Messages,
                  std::vector<std::string>{std::string("Error|Cannot create folder ") +
                                           (bProgram ? "..\\Quorvane" : "Pictures")});
        EXPECT_TRUE(engine.Failed());
        EXPECT_EQ(g_History.GetCount(), 0);
        EXPECT_FALSE(PathExists("..\\Quorvane"));
        EXPECT_FALSE(PathExists("Pictures"));
        ExpectNothingLeft();
    }
}

TEST_F(CopyEngineTest, DamagedArchiveEntryFailsWithAnEmptyReason)
{
    Prepare();
    // The last data block of the archive is cut short: the file ends inside it.
    g_SetupDat.CloseDatFile();
    TruncateFile(m_Medium / "Setup.dat", 5);
    CFakeInstallView openView;
    ASSERT_TRUE(OpenSetupArchive(g_SetupDat, openView));
    CFakeInstallView view;
    CCopyEngine engine(view, g_SetupDat);
    Install(view, engine, IMAGES_NONE);
    EXPECT_TRUE(engine.Failed());
    ASSERT_EQ(view.m_Messages.size(), 1u);
    EXPECT_EQ(view.m_Messages[0].substr(0, 11), "Copy Error|");
    EXPECT_EQ(view.m_Messages[0].back(), '\n') << "the third line is empty";
    RollBack();
    ExpectNothingLeft();
}

TEST_F(CopyEngineTest, FailedPlainCopyShowsTheSystemMessage)
{
    Prepare();
    DeleteFileA((m_Medium / "Images\\img3.jpg").c_str());
    CFakeInstallView view;
    CCopyEngine engine(view, g_SetupDat);
    Install(view, engine, IMAGES_ALL);
    EXPECT_TRUE(engine.Failed());
    ASSERT_EQ(view.m_Messages.size(), 1u);
    std::string expectedStart = std::string("Copy Error|") + g_sImgSrcDir.GetText() +
                                "\\img3.jpg -> " + g_sImgDstDir.GetText() + "\\img3.jpg\n";
    EXPECT_EQ(view.m_Messages[0].substr(0, expectedStart.size()), expectedStart);
    EXPECT_GT(view.m_Messages[0].size(), expectedStart.size()) << "the system's reason follows";
    RollBack();
    ExpectNothingLeft();
}

TEST_F(CopyEngineTest, StopAfterAnyFileRollsBackToNothing)
{
    for (int k : {1, 2, 7, 30, 33, 35})
    {
        Prepare();
        CFakeInstallView view;
        view.m_iStopAfter = k;
        CCopyEngine engine(view, g_SetupDat);
        Install(view, engine, IMAGES_ALL, 0, SHORTCUT_CURRENT_USER, SHORTCUT_CURRENT_USER);
        EXPECT_TRUE(engine.Stopped()) << k;
        EXPECT_FALSE(view.m_bClosed) << "the stop handler closes the step, not the engine";
        EXPECT_EQ(view.Processed(), k);
        RollBack();
        ExpectNothingLeft();
        g_SetupDat.CloseDatFile();
        g_History.FreeAll();
        g_InstallFiles.FreeAll();
        g_ImageFiles.FreeAll();
    }
}

namespace
{
// The stand-in agent built beside the tests, as a Windows path (Wine maps
// the Linux root to Z:).
std::string AgentProgram()
{
    return WinePath(QV_AGENT_EXE);
}

bool WaitForAgentEvent()
{
    for (int i = 0; i < 100; ++i)
    {
        HANDLE h = OpenEventA(SYNCHRONIZE, FALSE, AGENT_CLOSE_EVENT);
        if (h != nullptr)
        {
            CloseHandle(h);
            return true;
        }
        Sleep(50);
    }
    return false;
}
} // namespace

TEST_F(CopyEngineTest, RunningAgentExitsOnTheCloseRequestBeforeItsFileIsReplaced)
{
    Prepare();
    ForceDirectories(g_sDstDir.GetText());
    std::string agent = Prg("QvAgent.exe");
    ASSERT_TRUE(CopyFileA(AgentProgram().c_str(), agent.c_str(), FALSE)) << AgentProgram();
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::string command = "\"" + agent + "\" /r";
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                               g_sDstDir.GetText(), &si, &pi));
    CloseHandle(pi.hThread);
    ASSERT_TRUE(WaitForAgentEvent());

    CFakeInstallView view;
    CCopyEngine engine(view, g_SetupDat);
    engine.Start(IMAGES_NONE, 0, 1, SHORTCUT_NONE, SHORTCUT_NONE);
    // Start has asked the agent to close and waited: it is gone before the
    // first file is copied.
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 0), WAIT_OBJECT_0);
    if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    view.Run(engine);
    EXPECT_FALSE(engine.Failed());
    EXPECT_EQ(ReadWholeFile(agent), m_Archive["QvAgent.exe"].content);
    RollBack();
    DeleteTree(g_sDstDir.GetText());
}
