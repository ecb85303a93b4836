#include "CLog.h"
#include "Environment.h"
#include "InstallHistory.h"
#include "InstallSandbox.h"
#include "LogReceiverWindow.h"
#include "RegistryHelpers.h"
#include "SetupState.h"
#include "StringTables.h"
#include "TxDiskApi.h"

#include <gtest/gtest.h>
#include <memory>

namespace
{
class HostileEnvironmentTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        RegistryDeleteValue(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, INSTALLED_PRG_DIR_VALUE);
        EXPECT_EQ(m_Sandbox.Leftovers(), std::vector<std::string>());
    }

    // Runs the installation; a failed or stopped one is rolled back as the
    // finish step does, a completed one as the uninstaller would.
    void InstallAndRollBack(CFakeInstallView& view)
    {
        CCopyEngine engine(view, g_SetupDat);
        m_Sandbox.Install(engine, view);
        m_bFailed = engine.Failed();
        m_Sandbox.RollBackAndClose();
    }

    CInstallSandbox m_Sandbox;
    bool m_bFailed = false;
};

std::string FolderMessage(const std::string& sFolder)
{
    return std::string(gls_Error.GetText()) + "|Cannot create folder " + sFolder;
}

TEST_F(HostileEnvironmentTest, TargetLongerThanMaxPathEndsInTheFolderMessage)
{
    ASSERT_TRUE(m_Sandbox.Prepare());
    std::string sLong = m_Sandbox.Target(std::string(120, 'a') + "\\" + std::string(120, 'b') +
                                         "\\" + std::string(40, 'c'));
    g_sDstDir = sLong.c_str();
    CFakeInstallView view;
    InstallAndRollBack(view);
    EXPECT_TRUE(m_bFailed);
    EXPECT_EQ(view.m_Messages, std::vector<std::string>{FolderMessage(sLong)});
}

TEST_F(HostileEnvironmentTest, TargetFolderThatIsAFileEndsInTheFolderMessage)
{
    std::string sFile = m_Sandbox.Target("Taken");
    WriteWholeFile(sFile, "not a folder");
    ASSERT_TRUE(m_Sandbox.Prepare());
    g_sDstDir = sFile.c_str();
    CFakeInstallView view;
    InstallAndRollBack(view);
    EXPECT_TRUE(m_bFailed);
    EXPECT_EQ(view.m_Messages, std::vector<std::string>{FolderMessage(sFile)});
    EXPECT_TRUE(FileExists(sFile.c_str()));
}

TEST_F(HostileEnvironmentTest, ReadOnlyExistingTargetIsReplaced)
{
    ASSERT_TRUE(m_Sandbox.Prepare());
    std::string sAgent = m_Sandbox.Target("Program Files\\Quorvane\\QvAgent.exe");
    ASSERT_TRUE(ForceDirectories(m_Sandbox.Target("Program Files\\Quorvane").c_str()));
    WriteWholeFile(sAgent, "old agent");
    SetFileAttributesA(sAgent.c_str(), FILE_ATTRIBUTE_READONLY);
    CFakeInstallView view;
    CCopyEngine engine(view, g_SetupDat);
    m_Sandbox.Install(engine, view);
    EXPECT_FALSE(engine.Failed());
    EXPECT_TRUE(view.m_Messages.empty());
    m_Sandbox.RollBackAndClose();
    // The replaced agent is put back; it and its folders existed before.
    EXPECT_EQ(ReadWholeFile(sAgent), "old agent");
    SetFileAttributesA(sAgent.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(sAgent.c_str());
    RemoveDirectoryA(m_Sandbox.Target("Program Files\\Quorvane").c_str());
    RemoveDirectoryA(m_Sandbox.Target("Program Files").c_str());
}

TEST_F(HostileEnvironmentTest, LogReceiverClosingMidRunDoesNotDisturbTheRun)
{
    auto pReceiver = std::make_unique<LogReceiverWindow>([](const std::string&) {});
    ASSERT_TRUE(pReceiver->Create(false, false));
    g_Log.Restart(g_SetupLogConfig);
    ASSERT_TRUE(m_Sandbox.Prepare());
    CFakeInstallView view;
    view.m_OnFile = [&pReceiver](int n)
    {
        if (n == 5)
            pReceiver.reset();
    };
    InstallAndRollBack(view);
    g_Log.Restart(g_SetupLogConfig);
    EXPECT_FALSE(m_bFailed);
    EXPECT_EQ(pReceiver, nullptr);
}

// Earlier-install values that cannot serve as a folder fall back to the
// default; a long one is taken and fails only when the folder is made.
TEST_F(HostileEnvironmentTest, DamagedInstalledPrgDirValues)
{
    struct Case
    {
        const char* pszName;
        DWORD dwType;
        std::string data;
        bool bDefault;
    };
    ASSERT_TRUE(m_Sandbox.Prepare());
    std::string s511(511, 'd');
    const Case cases[] = {
        {"empty", REG_SZ, std::string(1, '\0'), true},
        {"no data at all", REG_SZ, "", true},
        {"511 characters", REG_SZ, s511 + '\0', false},
        {"512 characters", REG_SZ, s511 + "d" + '\0', true},
        {"DWORD", REG_DWORD, std::string("\x01\x02\x03\x04", 4), true},
        {"no terminating zero", REG_SZ, "C:\\Elsewhere", false},
    };
    for (const Case& c : cases)
    {
        ASSERT_TRUE(WriteRegValue(SETUP_REG_KEY, INSTALLED_PRG_DIR_VALUE, {c.dwType, c.data}));
        PrepareEnvironment(m_Sandbox.Medium("Setup.exe").c_str());
        std::string sDst = g_sDstDir.GetText();
        if (c.bDefault)
            EXPECT_EQ(sDst.substr(sDst.size() - 9), "\\Quorvane") << c.pszName;
        else
            EXPECT_EQ(sDst, std::string(c.data.c_str())) << c.pszName;
        EXPECT_FALSE(sDst.empty()) << c.pszName;
    }
}

TEST_F(HostileEnvironmentTest, SpecialFoldersTheSystemDoesNotNameGiveNoShortcuts)
{
    ASSERT_TRUE(m_Sandbox.Prepare());
    g_sPrograms = "";
    g_sDesktop = "";
    g_sCommonPrograms = "";
    g_sCommonDesktop = "";
    g_sSystemDir = "";
    CFakeInstallView view;
    CCopyEngine engine(view, g_SetupDat);
    m_Sandbox.Install(engine, view);
    EXPECT_FALSE(engine.Failed());
    EXPECT_TRUE(view.m_Messages.empty());
    for (int i = 0; i < g_History.GetCount(); ++i)
        EXPECT_NE(g_History.ItemAt(i)->Kind, LNKFILE);
    m_Sandbox.RollBackAndClose();
}

TEST_F(HostileEnvironmentTest, EmptyImageTargetEndsInTheFolderMessage)
{
    ASSERT_TRUE(m_Sandbox.Prepare());
    g_sImgDstDir = "";
    CFakeInstallView view;
    InstallAndRollBack(view);
    EXPECT_TRUE(m_bFailed);
    EXPECT_EQ(view.m_Messages, std::vector<std::string>{FolderMessage("")});
}
} // namespace
