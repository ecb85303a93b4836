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

// Target folders that cannot be made and files in the way are rows of the
// copy engine's target table (CopyEngineTest).
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

} // namespace
