#include "CSetupDatFile.h"
#include "CopyEngine.h"
#include "Environment.h"
#include "InstallHistory.h"
#include "InstallSandbox.h"
#include "LanguageCatalogue.h"
#include "MessagePump.h"
#include "PostInstall.h"
#include "ProcessTree.h"
#include "ProductNames.h"
#include "RegistryHelpers.h"
#include "SetupArchive.h"
#include "SetupState.h"
#include "StringTables.h"
#include "TxDiskApi.h"
#include "TxHandles.h"

#include <gtest/gtest.h>

namespace
{
// Each test installs into a sandbox of its own; whatever a test made before
// Prepare is the machine as the run found it, which its rollback must leave
// as it was.
class CopyEngineTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        m_Sandbox.RollBackAndClose();
        EXPECT_EQ(m_Sandbox.Leftovers(), std::vector<std::string>());
        g_InstallFiles.FreeAll();
        g_ImageFiles.FreeAll();
    }

    void Prepare() { ASSERT_TRUE(m_Sandbox.Prepare()); }

    // Starts an installation and runs it to its end.
    void Install(CFakeInstallView& view, CCopyEngine& engine, ImageChoice choice, int n = 0,
                 int iStartMenu = SHORTCUT_NONE, int iDesktop = SHORTCUT_NONE)
    {
        engine.Start(choice, n, 1, iStartMenu, iDesktop);
        view.Run(engine);
    }

    std::string Prg(const std::string& name) const
    {
        return m_Sandbox.Target("Program Files\\Quorvane\\" + name);
    }
    const TestArchiveEntry& Entry(const std::string& name) const
    {
        return m_Sandbox.Archive().at(name);
    }
    // Rolls back; nothing the installation made may remain.
    void RollBackToNothing()
    {
        m_Sandbox.RollBackAndClose();
        EXPECT_EQ(m_Sandbox.Leftovers(), std::vector<std::string>());
    }

    CInstallSandbox m_Sandbox;
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
    // Only the target folders are the installation's, not their parents.
    ASSERT_TRUE(ForceDirectories(m_Sandbox.Target("Start Menu\\Programs").c_str()));
    CreateDirectoryA(m_Sandbox.Target("Program Files").c_str(), nullptr);
    CreateDirectoryA(m_Sandbox.Target("Pictures").c_str(), nullptr);
    Prepare();
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
        const TestArchiveEntry& entry =
            Entry(name == "License.html" ? "License_ENGLISH.html" : name);
        EXPECT_EQ(ReadWholeFile(target), entry.content) << name;
        EXPECT_EQ(LastWriteTime(target), entry.qwWriteTime) << name;
    }
    EXPECT_FALSE(PathExists(Prg("License_ENGLISH.html")));
    for (int i = 1; i <= 3; ++i)
        EXPECT_TRUE(PathExists(
            JoinPath(std::string(g_sImgDstDir.GetText()), "img" + std::to_string(i) + ".jpg")));

    // History: both target folders, the ten program files, the textures'
    // subfolder and the textures, the three images, autorun, both shortcuts.
    std::vector<int> expected = {FOLDER, FOLDER};
    expected.insert(expected.end(), 10, PRGFILE);
    expected.push_back(FOLDER);
    expected.insert(expected.end(), 20, PRGFILE);
    expected.insert(expected.end(), 3, IMGFILE);
    expected.push_back(AUTORUN);
    expected.insert(expected.end(), 2, LNKFILE);
    std::vector<int> kinds;
    for (int i = 0; i < g_History.GetCount(); ++i)
        kinds.push_back(g_History.ItemAt(i)->Kind);
    EXPECT_EQ(kinds, expected);
    EXPECT_STREQ(g_History.ItemAt(0)->sPath.GetText(), g_sDstDir.GetText());
    EXPECT_STREQ(g_History.ItemAt(1)->sPath.GetText(), g_sImgDstDir.GetText());
    EXPECT_EQ(std::string(g_History.ItemAt(12)->sPath.GetText()), Prg("Textures"));
    EXPECT_EQ(g_History.ItemAt(2)->FileInfo.m_qwSize, Entry("QvAgent.exe").content.size());

    TxString s;
    ASSERT_TRUE(RegistryGetString(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, "InstalledPrgDir", s));
    EXPECT_STREQ(s.GetText(), g_sDstDir.GetText());
    ASSERT_TRUE(RegistryGetString(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, "InstalledImgDir", s));
    EXPECT_STREQ(s.GetText(), g_sImgDstDir.GetText());
    ASSERT_TRUE(RegistryGetString(HKEY_LOCAL_MACHINE, REG_RUN_KEY, REG_AUTORUN_VALUE, s));
    EXPECT_EQ(std::string(s.GetText()), "\"" + Prg("QvAgent.exe") + "\" /r");
    RollBackToNothing();
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
        std::vector<DaclEntry> dacl = DaclOf(sFolder);
        EXPECT_FALSE(dacl.empty()) << sFolder;
        for (const DaclEntry& entry : dacl)
            if (entry.sSid == EVERYONE_SID)
                return true;
        return false;
    };
    for (const std::string& sFolder : {m_Sandbox.Target("Program Files"), Prg(""), Prg("Textures")})
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
    RollBackToNothing();
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
    RegValue list;
    ASSERT_TRUE(ReadRegValue(SETUP_REG_KEY, INSTALLED_IMG_DIRS_VALUE, list));
    EXPECT_EQ(list.dwType, static_cast<DWORD>(REG_MULTI_SZ));
    EXPECT_EQ(list.sData, std::string("D:\\Older") + '\0' + g_sImgDstDir.GetText() + '\0' + '\0');
}

TEST_F(CopyEngineTest, RandomSelectionKeepsNImagesInTheirOrder)
{
    struct Case
    {
        int n;
        int iKept;
    } cases[] = {{2, 2}, {3, 3}, {9, 3}, {0, 1}, {-3, 1}};
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
        // The three images take 600 bytes.
        EXPECT_EQ(engine.Expected(), g_qwPrgSize + 600ull * c.iKept / 3) << c.n;
        RollBackToNothing();
        g_InstallFiles.FreeAll();
        g_ImageFiles.FreeAll();
    }
}

// Target folders the run cannot make end in the folder message before a file
// is copied; a read-only file in the way is replaced. Either way the rollback
// leaves the target tree as the run found it, byte for byte and time for time.
TEST(CopyEngineTargets, UnusableFoldersFailFirstAndReadOnlyFilesAreReplaced)
{
    const std::string sLong =
        std::string(120, 'a') + "\\" + std::string(120, 'b') + "\\" + std::string(40, 'c');
    struct Case
    {
        const char* pszWhat;
        // A file the machine holds before the run, in the target tree.
        const char* pszFileBefore;
        bool bReadOnly;
        // The folders the run is pointed at; null for the sandbox's own.
        const char* pszPrograms;
        const char* pszImages;
        // Those and the refused folder lie in the target tree, or stay as given.
        bool bInTree;
        // The folder the one message names; null when the run must succeed.
        const char* pszRefused;
        // Refused before anything is made.
        bool bMakesNothing;
    } const cases[] = {
        {"read-only file in place", "Program Files\\Quorvane\\QvAgent.exe", true, nullptr, nullptr,
         true, nullptr, false},
        {"program folder is a file", "Taken", false, "Taken", nullptr, true, "Taken", false},
        {"image folder under a file", "Pictures", false, nullptr, nullptr, true,
         "Pictures\\Quorvane", false},
        {"longer than MAX_PATH", nullptr, false, sLong.c_str(), nullptr, true, sLong.c_str(),
         false},
        {"relative program folder", nullptr, false, "..\\Quorvane", nullptr, false, "..\\Quorvane",
         true},
        {"relative image folder", nullptr, false, nullptr, "Pictures", false, "Pictures", true},
        {"empty image folder", nullptr, false, nullptr, "", false, "", false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pszWhat);
        CInstallSandbox sandbox;
        auto place = [&](const char* pszPath)
        { return c.bInTree ? sandbox.Target(pszPath) : std::string(pszPath); };
        if (c.pszFileBefore != nullptr)
        {
            std::string sFile = sandbox.Target(c.pszFileBefore);
            ASSERT_TRUE(ForceDirectories(sFile.substr(0, sFile.rfind('\\')).c_str()));
            ASSERT_TRUE(WriteWholeFile(sFile, "the user's own"));
            if (c.bReadOnly)
                SetFileAttributesA(sFile.c_str(), FILE_ATTRIBUTE_READONLY);
        }
        MachineSnapshot before({sandbox.TargetTree()}, {}, MachineSnapshot::FileDetail::Content);
        ASSERT_TRUE(sandbox.Prepare());
        if (c.pszPrograms != nullptr)
            g_sDstDir = place(c.pszPrograms).c_str();
        if (c.pszImages != nullptr)
            g_sImgDstDir = place(c.pszImages).c_str();
        CFakeInstallView view;
        CCopyEngine engine(view, g_SetupDat);
        sandbox.Install(engine, view);
        if (c.pszRefused == nullptr)
        {
            EXPECT_TRUE(view.m_Messages.empty());
            EXPECT_TRUE(engine.Completed() && !engine.Failed());
            EXPECT_EQ(ReadWholeFile(sandbox.Target(c.pszFileBefore)),
                      sandbox.Archive().at("QvAgent.exe").content);
            // The folder existed before: it is not the installation's.
            for (int i = 0; i < g_History.GetCount(); ++i)
                EXPECT_FALSE(g_History.ItemAt(i)->Kind == FOLDER &&
                             g_History.ItemAt(i)->sPath.Compare(g_sDstDir) == 0);
        }
        else
        {
            std::string sRefused = place(c.pszRefused);
            EXPECT_EQ(view.m_Messages,
                      std::vector<std::string>{std::string(gls_Error.GetText()) +
                                               "|Cannot create folder " + sRefused});
            EXPECT_EQ(view.m_uLastFlags, static_cast<unsigned>(MB_OK | MB_ICONEXCLAMATION));
            EXPECT_TRUE(engine.Failed() && !engine.Completed() && view.m_bClosed);
            EXPECT_EQ(view.Posted(), 0) << "a file was copied";
            EXPECT_FALSE(DirectoryExists(sRefused.c_str()));
            if (c.bMakesNothing)
            {
                EXPECT_EQ(g_History.GetCount(), 0);
            }
        }
        sandbox.RollBackAndClose();
        for (const SnapshotChange& change : before.ChangesTo(
                 MachineSnapshot({sandbox.TargetTree()}, {}, MachineSnapshot::FileDetail::Content)))
            ADD_FAILURE() << "the rollback left " << change.Describe();
        EXPECT_EQ(sandbox.Leftovers(), std::vector<std::string>());
        g_InstallFiles.FreeAll();
        g_ImageFiles.FreeAll();
    }
}

TEST_F(CopyEngineTest, TargetFoldersWithTrailingSeparatorsInstall)
{
    Prepare();
    std::string sPrograms = m_Sandbox.Target("Program Files");
    std::string sPictures = m_Sandbox.Target("Pictures");
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
    RollBackToNothing();
}

TEST_F(CopyEngineTest, DamagedArchiveEntryFailsWithAnEmptyReason)
{
    Prepare();
    // The last data block of the archive is cut short: the file ends inside it.
    g_SetupDat.CloseDatFile();
    TruncateFile(m_Sandbox.Medium("Setup.dat"), 5);
    CFakeInstallView openView;
    ASSERT_TRUE(OpenSetupArchive(g_SetupDat, openView));
    CFakeInstallView view;
    CCopyEngine engine(view, g_SetupDat);
    Install(view, engine, IMAGES_NONE);
    EXPECT_TRUE(engine.Failed());
    ASSERT_EQ(view.m_Messages.size(), 1u);
    EXPECT_EQ(view.m_Messages[0].substr(0, 11), "Copy Error|");
    EXPECT_EQ(view.m_Messages[0].back(), '\n') << "the third line is empty";
    RollBackToNothing();
}

TEST_F(CopyEngineTest, FailedPlainCopyShowsTheSystemMessage)
{
    Prepare();
    DeleteFileA(m_Sandbox.Medium("Images\\img3.jpg").c_str());
    CFakeInstallView view;
    CCopyEngine engine(view, g_SetupDat);
    Install(view, engine, IMAGES_ALL);
    EXPECT_TRUE(engine.Failed());
    ASSERT_EQ(view.m_Messages.size(), 1u);
    std::string expectedStart = std::string("Copy Error|") + g_sImgSrcDir.GetText() +
                                "\\img3.jpg -> " + g_sImgDstDir.GetText() + "\\img3.jpg\n";
    EXPECT_EQ(view.m_Messages[0].substr(0, expectedStart.size()), expectedStart);
    EXPECT_GT(view.m_Messages[0].size(), expectedStart.size()) << "the system's reason follows";
    RollBackToNothing();
}

TEST_F(CopyEngineTest, StopAfterAnyFileRollsBackToNothing)
{
    for (int k : {1, 2, 7, 30, 31, 33})
    {
        Prepare();
        CFakeInstallView view;
        view.m_iStopAfter = k;
        CCopyEngine engine(view, g_SetupDat);
        Install(view, engine, IMAGES_ALL, 0, SHORTCUT_CURRENT_USER, SHORTCUT_CURRENT_USER);
        EXPECT_TRUE(engine.Stopped()) << k;
        EXPECT_FALSE(view.m_bClosed) << "the stop handler closes the step, not the engine";
        EXPECT_EQ(view.Processed(), k);
        RollBackToNothing();
        g_InstallFiles.FreeAll();
        g_ImageFiles.FreeAll();
    }
}

namespace
{
bool WaitForAgentEvent()
{
    return WaitUntil(
        [] { return TxKernelHandle(OpenEventA(SYNCHRONIZE, FALSE, AGENT_CLOSE_EVENT)).IsValid(); },
        5000);
}
} // namespace

TEST_F(CopyEngineTest, RunningAgentExitsOnTheCloseRequestBeforeItsFileIsReplaced)
{
    // The stand-in agent built beside the tests, installed before the run.
    std::string agent = Prg("QvAgent.exe");
    ASSERT_TRUE(ForceDirectories(m_Sandbox.Target("Program Files\\Quorvane").c_str()));
    ASSERT_TRUE(CopyFileA(WinePath(QV_AGENT_EXE).c_str(), agent.c_str(), FALSE));
    Prepare();
    ProcessTree running;
    ASSERT_TRUE(running.Start(CommandLine(agent, "/r"), g_sDstDir.GetText()));
    ASSERT_TRUE(WaitForAgentEvent());

    CFakeInstallView view;
    CCopyEngine engine(view, g_SetupDat);
    engine.Start(IMAGES_NONE, 0, 1, SHORTCUT_NONE, SHORTCUT_NONE);
    // Start has asked the agent to close and waited: it is gone before the
    // first file is copied.
    EXPECT_FALSE(running.IsRunning());
    view.Run(engine);
    EXPECT_FALSE(engine.Failed());
    EXPECT_EQ(ReadWholeFile(agent), Entry("QvAgent.exe").content);
    RollBackToNothing();
}
