#include "EarlierInstallation.h"
#include "EngineTestSupport.h"
#include "InstallHistory.h"
#include "RegistryHelpers.h"
#include "SetupState.h"
#include "StringTables.h"
#include "UninstallLog.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace
{
class UninstallLogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetDefaultTexts();
        g_History.FreeAll();
    }
    void TearDown() override
    {
        g_History.FreeAll();
        RemoveUninstallInfo(UNINSTALL_ENTRY_NAME);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, LANGUAGE_REG_KEY);
    }
    TempFolder m_Prg;
};
} // namespace

TEST_F(UninstallLogTest, BlockHasOneRecordPerItemAndATimeLine)
{
    std::string prg = m_Prg.Path();
    g_History.Record(HISTORY_NONE, "ignored");
    g_History.Record(FOLDER, prg.c_str());
    g_History.Record(PRGFILE, (prg + "\\QvAgent.exe").c_str());
    g_History.Record(IMGFILE, "C:\\Pictures\\Quorvane\\a.jpg");
    g_History.Record(AUTORUN, "");
    g_History.Record(LNKFILE, "C:\\Start\\Quorvane Manager.lnk");
    g_History.Record(UNINST, "whatever");
    SYSTEMTIME st = {};
    st.wYear = 2004;
    st.wMonth = 3;
    st.wDay = 5;
    st.wHour = 9;
    st.wMinute = 7;
    std::string log = m_Prg / "Install.log";
    AppendInstallLogBlock(log.c_str(), st);
    std::string block = "S_FOLDER_ " + prg + "\r\n" + "S_PRGFILE " + prg +
                        "\\QvAgent.exe\r\n"
                        "S_IMGFILE C:\\Pictures\\Quorvane\\a.jpg\r\n"
                        "S_AUTORUN QuorvaneAgent\r\n"
                        "S_LNKFILE C:\\Start\\Quorvane Manager.lnk\r\n"
                        "S_UNINST_ Quorvane\r\n"
                        "S_TIME___ 05.03.2004 09:07\r\n\r\n";
    EXPECT_EQ(ReadWholeFile(log), block);
    AppendInstallLogBlock(log.c_str(), st);
    EXPECT_EQ(ReadWholeFile(log), block + block);
}

TEST_F(UninstallLogTest, UnwritableLogIsLoggedAndSwallowed)
{
    g_sDstDir = (m_Prg / "no\\such\\folder").c_str();
    LogCapture capture;
    SaveUninstallInfo();
    ASSERT_FALSE(capture.Messages().empty());
    EXPECT_EQ(capture.Messages().front(), "TFormStepBye::SaveUninstallInfo");
    bool bCaught = false;
    for (const std::string& line : capture.Messages())
        bCaught |= line.rfind("  Exception catched: ", 0) == 0;
    EXPECT_TRUE(bCaught);
}

TEST_F(UninstallLogTest, SaveWritesTheUninstallEntryAndEndsWithItsOwnRecords)
{
    // A folder given with a trailing backslash still yields single separators.
    g_sDstDir = (m_Prg.Path() + "\\").c_str();
    g_History.Record(FOLDER, m_Prg.Path().c_str());
    SaveUninstallInfo();
    SaveUninstallInfo();

    std::string key = std::string(REG_UNINSTALL_ROOT) + UNINSTALL_ENTRY_NAME;
    TxString s;
    ASSERT_TRUE(RegistryGetString(HKEY_LOCAL_MACHINE, key.c_str(), "DisplayName", s));
    EXPECT_STREQ(s.GetText(), "Quorvane 1.04");
    ASSERT_TRUE(RegistryGetString(HKEY_LOCAL_MACHINE, key.c_str(), "DisplayIcon", s));
    EXPECT_EQ(std::string(s.GetText()), m_Prg / "QvManag.exe");
    ASSERT_TRUE(RegistryGetString(HKEY_LOCAL_MACHINE, key.c_str(), "UninstallString", s));
    EXPECT_EQ(std::string(s.GetText()), "\"" + (m_Prg / "Uninstall.exe") + "\"");

    std::string text = ReadWholeFile(m_Prg / "Install.log");
    std::string records = "S_FOLDER_ " + m_Prg.Path() + "\r\nS_PRGFILE " + (m_Prg / "Install.log") +
                          "\r\nS_UNINST_ Quorvane\r\nS_TIME___ ";
    ASSERT_EQ(text.substr(0, records.size()), records);
    // The time line: "dd.mm.yyyy hh:mm" and an empty line.
    size_t iEnd = text.find("\r\n\r\n");
    ASSERT_NE(iEnd, std::string::npos);
    EXPECT_EQ(iEnd - records.size(), 16u);
    // The second block repeats the history, now with both runs' records.
    std::string second = text.substr(iEnd + 4);
    EXPECT_EQ(second.rfind("S_FOLDER_ ", 0), 0u);
    EXPECT_NE(second.find("S_UNINST_ Quorvane\r\nS_PRGFILE "), std::string::npos);
    EXPECT_EQ(second.substr(second.size() - 4), "\r\n\r\n");
}

// A log that would lead the block elsewhere is never written: a link to
// another file, a name the file shares with another (hard link). The block
// goes to a new log beside it, under "Install.log" when the refused entry
// can be moved aside.
TEST_F(UninstallLogTest, LogThatLeadsElsewhereIsNotWrittenThrough)
{
    TempFolder outside("qv_outside_");
    std::string sentinel = outside.AddFile("sentinel.txt", "sentinel");
    SYSTEMTIME st = {};
    st.wYear = 2004;
    st.wMonth = 3;
    st.wDay = 5;
    std::string block = "S_TIME___ 05.03.2004 00:00\r\n\r\n";
    struct Row
    {
        bool bHardLink;
        const char* pszLogLine; // how the refusal ends
        const char* pszNewLog;  // where the block goes: the name's start
    };
    const Row rows[] = {
        {false, "cannot move it aside", "Install."},
        {true, "starting a new one", "Install.log"},
    };
    for (const Row& row : rows)
    {
        TempFolder prg;
        std::string log = prg / "Install.log";
        ASSERT_TRUE(row.bHardLink ? CreateHardLinkA(log.c_str(), sentinel.c_str(), nullptr) != FALSE
                                  : MakeSymbolicLink(log, sentinel));
        LogCapture capture;
        AppendInstallLogBlock(log.c_str(), st);

        EXPECT_EQ(ReadWholeFile(sentinel), "sentinel");
        ASSERT_EQ(capture.Messages().size(), 1u);
        std::string line = capture.Messages()[0];
        EXPECT_EQ(line.rfind("AppendInstallLogBlock - refused " + log + ": ", 0), 0u) << line;
        EXPECT_NE(line.find(row.pszLogLine), std::string::npos) << line;
        int iBlocks = 0;
        for (const std::string& name : prg.Entries())
            if (name.rfind(row.pszNewLog, 0) == 0 && ReadWholeFile(prg / name) == block)
                ++iBlocks;
        EXPECT_EQ(iBlocks, 1) << line;
        if (!row.bHardLink)
        {
            EXPECT_TRUE(RemoveSymbolicLink(log));
        }
    }
}

// The finish step's choice of text after a rollback rests on this: the
// installation the registry names, whole as its log records it.
TEST_F(UninstallLogTest, EarlierInstallationIsCompleteOnlyWithEveryRecordedFile)
{
    const std::string prg = m_Prg.Path();
    const std::string agent = prg + "\\QvAgent.exe";
    ASSERT_TRUE(WriteWholeFile(agent, "MZ"));
    ASSERT_TRUE(WriteWholeFile(prg + "\\Install.log",
                               "S_FOLDER_ " + prg + "\r\nS_PRGFILE " + agent + "\r\nS_PRGFILE " +
                                   prg + "\\Install.log\r\nS_IMGFILE " + prg +
                                   "\\gone.jpg\r\nS_TIME___ 05.03.2004 09:07\r\n\r\n"));
    EXPECT_FALSE(EarlierInstallationComplete()) << "no installation registered";
    ASSERT_TRUE(
        RegistrySetString(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, INSTALLED_PRG_DIR_VALUE, prg.c_str()));
    // An image the user deleted does not make the program incomplete.
    EXPECT_TRUE(EarlierInstallationComplete());
    ASSERT_TRUE(DeleteFileA(agent.c_str()));
    EXPECT_FALSE(EarlierInstallationComplete()) << "a program file is missing";
    ASSERT_TRUE(DeleteFileA((prg + "\\Install.log").c_str()));
    EXPECT_FALSE(EarlierInstallationComplete()) << "no log";
    RegistryDeleteValue(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, INSTALLED_PRG_DIR_VALUE);
}
