#include "ProductNames.h"
#include "StandInTestSupport.h"
#include "TxHandles.h"
#include "UninstallPlan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace
{
constexpr char UNINSTALL_KEY[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvane";
constexpr char OTHER_RUN_VALUE[] = "QvStandInTestOther";

class CollectedReport : public IUninstallReport
{
public:
    void ReportLine(const TxString& sLine) override
    {
        lines.push_back(sLine.GetText());
        if (onLine)
            onLine();
    }
    bool Has(const std::string& sLine) const
    {
        return std::find(lines.begin(), lines.end(), sLine) != lines.end();
    }
    // Position of a line, or -1.
    int IndexOf(const std::string& sLine) const
    {
        auto it = std::find(lines.begin(), lines.end(), sLine);
        return it == lines.end() ? -1 : static_cast<int>(it - lines.begin());
    }
    std::vector<std::string> lines;
    std::function<void()> onLine; // runs after each line, while the removal goes on
};

// A small installation in a folder of its own, with the registry items the
// setup leaves; everything is taken away again after each test.
class UninstallPlanTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_sPrg = m_Root / "Prg";
        m_sTextures = m_sPrg + "\\Textures";
        m_sStart = m_Root / "Start";
        m_sLog = m_sPrg + "\\Install.log";
        ASSERT_TRUE(CreateDirectoryA(m_sPrg.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA(m_sTextures.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA(m_sStart.c_str(), nullptr));
        for (const char* pszName : {"QvAgent.exe", "QvManag.exe", "Install.log"})
            ASSERT_TRUE(WriteWholeFile(m_sPrg + "\\" + pszName, "x"));
        ASSERT_TRUE(WriteWholeFile(m_sTextures + "\\Texture001.bmp", "BM"));
        ASSERT_TRUE(WriteWholeFile(m_sStart + "\\Quorvane Manager.lnk", "L"));
        ASSERT_TRUE(SetRegString(REG_RUN_KEY, REG_AUTORUN_VALUE, "C:\\Prg\\QvAgent.exe /r"));
        ASSERT_TRUE(SetRegString(REG_RUN_KEY, OTHER_RUN_VALUE, "other.exe"));
        ASSERT_TRUE(SetRegString(UNINSTALL_KEY, "DisplayName", "Quorvane 1.04"));
        ASSERT_TRUE(SetRegString(SETUP_REG_KEY, INSTALLED_PRG_DIR_VALUE, m_sPrg.c_str()));
        ASSERT_TRUE(SetRegString(LANGUAGE_REG_KEY, "Language", "English"));
    }

    void TearDown() override
    {
        HKEY hLm = HKEY_LOCAL_MACHINE;
        TxRegKey run;
        if (RegOpenKeyExA(hLm, REG_RUN_KEY, 0, KEY_SET_VALUE, run.Receive()) == ERROR_SUCCESS)
        {
            RegDeleteValueA(run.Get(), REG_AUTORUN_VALUE);
            RegDeleteValueA(run.Get(), OTHER_RUN_VALUE);
        }
        RegDeleteKeyA(hLm, UNINSTALL_KEY);
        DeleteProductKey();
    }

    // The block the setup writes for this installation.
    std::string FullLog() const
    {
        return "S_FOLDER_ " + m_sPrg + "\r\nS_FOLDER_ " + m_sTextures + "\r\nS_PRGFILE " + m_sPrg +
               "\\QvAgent.exe\r\nS_PRGFILE " + m_sPrg + "\\QvManag.exe\r\nS_PRGFILE " +
               m_sTextures + "\\Texture001.bmp\r\nS_AUTORUN QuorvaneAgent\r\nS_LNKFILE " +
               m_sStart + "\\Quorvane Manager.lnk\r\nS_PRGFILE " + m_sLog +
               "\r\nS_UNINST_ Quorvane\r\nS_TIME___ 05.03.2004 09:07\r\n\r\n";
    }

    // The machine's folders stand in the test's own: its Start folder, no
    // image folder, a system folder of its own.
    UninstallOutcome Run(const std::string& sLog, const UninstallTexts& texts = UninstallTexts())
    {
        EXPECT_TRUE(WriteWholeFile(m_sLog, sLog));
        UninstallPlan plan(texts, m_Report);
        RemovalScope scope;
        scope.sProgramDir = m_sPrg.c_str();
        scope.sSystemDir = (m_Root / "System").c_str();
        scope.ShortcutDirs = {m_sStart.c_str()};
        plan.SetScope(scope);
        return plan.Run(m_sLog.c_str());
    }

    TempFolder m_Root;
    std::string m_sPrg, m_sTextures, m_sStart, m_sLog;
    CollectedReport m_Report;
};

TEST_F(UninstallPlanTest, RemovesAWholeInstallation)
{
    UninstallOutcome outcome = Run(FullLog());
    EXPECT_TRUE(outcome.bLogRead);
    EXPECT_EQ(outcome.iFailures, 0);
    EXPECT_FALSE(PathExists(m_sPrg));
    EXPECT_FALSE(PathExists(m_sStart + "\\Quorvane Manager.lnk"));
    // The Start-menu folder existed before: it has no record and stays.
    EXPECT_TRUE(PathExists(m_sStart));
    EXPECT_FALSE(RegValueExists(REG_RUN_KEY, REG_AUTORUN_VALUE));
    EXPECT_TRUE(RegValueExists(REG_RUN_KEY, OTHER_RUN_VALUE));
    EXPECT_FALSE(RegKeyExists(UNINSTALL_KEY));
    EXPECT_FALSE(RegKeyExists(PRODUCT_REG_KEY));
    // The setup's writes made the maker's key; nothing else holds it.
    EXPECT_FALSE(RegKeyExists(VENDOR_REG_KEY));
    ASSERT_FALSE(m_Report.lines.empty());
    EXPECT_EQ(m_Report.lines.back(), "Uninstallation Complete");
    EXPECT_TRUE(m_Report.Has("Removed uninstall info from Registry."));
    EXPECT_TRUE(m_Report.Has("Removed Registry value QuorvaneAgent"));
}

TEST_F(UninstallPlanTest, KeepsTheMakersKeyWhileAnotherProductUsesIt)
{
    const std::string sOther = std::string(VENDOR_REG_KEY) + "\\QvStandInTestOther";
    ASSERT_TRUE(SetRegString(sOther.c_str(), "Dir", "C:\\Other"));
    UninstallOutcome outcome = Run(FullLog());
    EXPECT_EQ(outcome.iFailures, 0);
    EXPECT_FALSE(RegKeyExists(PRODUCT_REG_KEY));
    EXPECT_TRUE(RegValueExists(sOther.c_str(), "Dir"));
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, sOther.c_str());
}

TEST_F(UninstallPlanTest, RemovesNewestFirstAndTheLogLast)
{
    Run(FullLog());
    int iLink = m_Report.IndexOf("Deleted file " + m_sStart + "\\Quorvane Manager.lnk");
    int iTexture = m_Report.IndexOf("Deleted file " + m_sTextures + "\\Texture001.bmp");
    int iManager = m_Report.IndexOf("Deleted file " + m_sPrg + "\\QvManag.exe");
    int iAgent = m_Report.IndexOf("Deleted file " + m_sPrg + "\\QvAgent.exe");
    int iTextures = m_Report.IndexOf("Removed folder " + m_sTextures);
    int iLog = m_Report.IndexOf("Deleted file " + m_sLog);
    int iPrg = m_Report.IndexOf("Removed folder " + m_sPrg);
    ASSERT_GE(iLink, 0);
    EXPECT_LT(iLink, iTexture);
    EXPECT_LT(iTexture, iManager);
    EXPECT_LT(iManager, iAgent);
    EXPECT_LT(iAgent, iTextures);
    EXPECT_LT(iTextures, iLog);
    EXPECT_LT(iLog, iPrg);
}

TEST_F(UninstallPlanTest, LeavesAFolderThatHoldsTheUsersFiles)
{
    ASSERT_TRUE(WriteWholeFile(m_sPrg + "\\my notes.txt", "mine"));
    UninstallOutcome outcome = Run(FullLog());
    EXPECT_EQ(outcome.iFailures, 0);
    EXPECT_TRUE(PathExists(m_sPrg + "\\my notes.txt"));
    EXPECT_FALSE(PathExists(m_sPrg + "\\QvAgent.exe"));
    EXPECT_FALSE(PathExists(m_sLog));
    EXPECT_FALSE(PathExists(m_sTextures));
    EXPECT_TRUE(m_Report.Has("Cannot remove folder " + m_sPrg + "."));
}

TEST_F(UninstallPlanTest, TamperedRecordsTouchNothingOutsideTheInstallation)
{
    const std::string sOutside = m_Root / "Outside";
    const std::string sForeign = m_Root / "Foreign";
    const std::string sSystem = m_Root / "System";
    const std::string sOtherEntry = std::string(REG_UNINSTALL_ROOT) + OTHER_RUN_VALUE;
    for (const std::string& sFolder : {sOutside, sForeign, sSystem})
        ASSERT_TRUE(CreateDirectoryA(sFolder.c_str(), nullptr));
    const std::vector<std::string> survivors = {
        sOutside + "\\keep.txt",
        sOutside + "\\Quorvane Manager.lnk",
        sOutside + "\\Quorvane.scr",
        sSystem + "\\other.dll",
        m_sPrg + "\\notes.txt",
        sForeign + "\\QvAgent.exe",
        m_Root / "Empty",
    };
    for (const std::string& sPath : survivors)
        ASSERT_TRUE(sPath == m_Root / "Empty" ? CreateDirectoryA(sPath.c_str(), nullptr) != FALSE
                                              : WriteWholeFile(sPath, "keep"));
    ASSERT_TRUE(WriteWholeFile(sSystem + "\\Quorvane.scr", "MZ"));
    ASSERT_TRUE(SetRegString(sOtherEntry.c_str(), "DisplayName", "Other"));
    const std::vector<std::string> tampered = {
        "S_PRGFILE " + sOutside + "\\keep.txt",
        "S_PRGFILE " + m_sPrg + "\\..\\Outside\\keep.txt",
        "S_FOLDER_ " + sForeign,
        "S_PRGFILE " + sForeign + "\\QvAgent.exe",
        "S_FOLDER_ " + m_Root / "Empty",
        "S_PRGFILE " + m_sPrg + "\\notes.txt:secret",
        "S_PRGFILE " + m_sPrg + "\\NUL",
        "S_LNKFILE " + sOutside + "\\Quorvane Manager.lnk",
        "S_PRGFILE " + sOutside + "\\Quorvane.scr",
        "S_PRGFILE " + sSystem + "\\other.dll",
        std::string("S_UNINST_ ") + OTHER_RUN_VALUE,
    };
    std::string sLog = FullLog() + "S_PRGFILE " + sSystem + "\\Quorvane.scr\r\n";
    for (const std::string& sLine : tampered)
        sLog += sLine + "\r\n";

    UninstallOutcome outcome = Run(sLog);
    EXPECT_EQ(outcome.iSkipped, static_cast<int>(tampered.size()));
    for (const std::string& sPath : survivors)
        EXPECT_TRUE(PathExists(sPath)) << sPath;
    EXPECT_TRUE(RegKeyExists(sOtherEntry.c_str()));
    for (const std::string& sLine : tampered)
        EXPECT_TRUE(m_Report.Has("Skipped " + sLine.substr(10) + ": not made by the installation."))
            << sLine;
    // What the installation made still goes.
    EXPECT_FALSE(PathExists(sSystem + "\\Quorvane.scr"));
    EXPECT_FALSE(PathExists(m_sPrg + "\\QvAgent.exe"));
    EXPECT_FALSE(PathExists(m_sStart + "\\Quorvane Manager.lnk"));
    EXPECT_FALSE(RegKeyExists(UNINSTALL_KEY));
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, sOtherEntry.c_str());
}

TEST_F(UninstallPlanTest, NeitherFollowsNorLooksThroughAFolderLink)
{
    const std::string sOutside = m_Root / "Outside";
    const std::string sLink = m_sPrg + "\\Linked";
    ASSERT_TRUE(CreateDirectoryA(sOutside.c_str(), nullptr));
    ASSERT_TRUE(WriteWholeFile(sOutside + "\\keep.txt", "keep"));
    if (!MakeSymbolicLink(sLink, sOutside))
        GTEST_SKIP() << "no folder link can be made here";
    std::string sLog =
        FullLog() + "S_PRGFILE " + sLink + "\\keep.txt\r\nS_FOLDER_ " + sLink + "\r\n";
    UninstallOutcome outcome = Run(sLog);
    RemoveSymbolicLink(sLink);
    // The installation makes no links: the link stays, and nothing is
    // removed through it.
    EXPECT_EQ(outcome.iSkipped, 2);
    EXPECT_TRUE(m_Report.Has("Skipped " + sLink + "\\keep.txt: not made by the installation."));
    EXPECT_TRUE(m_Report.Has("Skipped " + sLink + ": not made by the installation."));
    EXPECT_TRUE(PathExists(sOutside + "\\keep.txt"));
}

// Another user who may write beside the program folder swaps it for a link
// to a folder of the same files once the uninstaller has read the log:
// nothing there goes, neither through the records nor through the log, the
// uninstaller's own file and the folders removed at the end.
TEST_F(UninstallPlanTest, DeletesNothingOutsideWhenTheProgramFolderBecomesALink)
{
    const std::string sOutside = m_Root / "Outside";
    const std::string sSelf = m_sPrg + "\\Uninstall.exe";
    ASSERT_TRUE(WriteWholeFile(sSelf, "MZ"));
    ASSERT_TRUE(CreateDirectoryA(sOutside.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((sOutside + "\\Textures").c_str(), nullptr));
    std::vector<std::string> sentinels;
    for (const char* pszName :
         {"QvAgent.exe", "QvManag.exe", "Install.log", "Uninstall.exe", "Textures\\Texture001.bmp"})
    {
        sentinels.push_back(sOutside + "\\" + pszName);
        ASSERT_TRUE(WriteWholeFile(sentinels.back(), "not the installation's"));
    }
    bool bSwapped = false;
    m_Report.onLine = [&]
    {
        if (!bSwapped)
            bSwapped = MoveAsAnotherProgram(m_sPrg, m_Root / "Moved") &&
                       MakeSymbolicLink(m_sPrg, sOutside);
    };
    std::string sLog = FullLog() + "S_PRGFILE " + sSelf + "\r\n";
    ASSERT_TRUE(WriteWholeFile(m_sLog, sLog));
    UninstallPlan plan(UninstallTexts(), m_Report);
    plan.SetSelfPath(sSelf.c_str());
    RemovalScope scope;
    scope.sProgramDir = m_sPrg.c_str();
    scope.ShortcutDirs = {m_sStart.c_str()};
    plan.SetScope(scope);
    plan.Run(m_sLog.c_str());
    m_Report.onLine = nullptr;
    EXPECT_TRUE(bSwapped) << "the program folder could not be swapped for a link";
    for (const std::string& sPath : sentinels)
        EXPECT_EQ(ReadWholeFile(sPath), "not the installation's") << sPath;
    EXPECT_TRUE(PathExists(sOutside + "\\Textures"));
    RemoveSymbolicLink(m_sPrg);
}

TEST_F(UninstallPlanTest, DeletesReadOnlyFiles)
{
    std::string sFile = m_sPrg + "\\QvManag.exe";
    ASSERT_TRUE(SetFileAttributesA(sFile.c_str(), FILE_ATTRIBUTE_READONLY));
    UninstallOutcome outcome = Run(FullLog());
    EXPECT_EQ(outcome.iFailures, 0);
    EXPECT_FALSE(PathExists(sFile));
}

TEST_F(UninstallPlanTest, ReportsWhatIsAlreadyGoneWithoutCountingItAsFailure)
{
    ASSERT_TRUE(DeleteFileA((m_sPrg + "\\QvAgent.exe").c_str()));
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
    std::string sLog = FullLog() + "S_FOLDER_ " + m_sPrg + "\\Gone\r\n";
    UninstallOutcome outcome = Run(sLog);
    EXPECT_EQ(outcome.iFailures, 0);
    EXPECT_TRUE(m_Report.Has("File " + m_sPrg + "\\QvAgent.exe not found."));
    EXPECT_TRUE(m_Report.Has("Folder " + m_sPrg + "\\Gone not found."));
    EXPECT_TRUE(m_Report.Has(std::string("Cannot find Registry value ") + UNINSTALL_KEY + "."));
    EXPECT_FALSE(PathExists(m_sPrg));
}

TEST_F(UninstallPlanTest, RemovesWhatSeveralInstallationsRecordedOnce)
{
    // A second installation into the same folder finds the folders there;
    // it spelt the folder another way.
    std::string sSpelt = m_sPrg;
    std::replace(sSpelt.begin() + 3, sSpelt.end(), '\\', '/');
    std::string sSecond = "S_PRGFILE " + sSpelt + "/QvAgent.exe\r\nS_PRGFILE " + m_sPrg +
                          "\\qvmanag.exe\r\nS_AUTORUN QuorvaneAgent\r\nS_PRGFILE " + m_sLog +
                          "\r\nS_UNINST_ Quorvane\r\nS_TIME___ 06.03.2004 10:00\r\n\r\n";
    UninstallOutcome outcome = Run(FullLog() + sSecond);
    EXPECT_EQ(outcome.iFailures, 0);
    EXPECT_FALSE(PathExists(m_sPrg));
    for (const std::string& sLine : m_Report.lines)
    {
        EXPECT_EQ(sLine.find("not found"), std::string::npos) << sLine;
        EXPECT_EQ(sLine.find("Cannot"), std::string::npos) << sLine;
    }
    EXPECT_EQ(std::count_if(m_Report.lines.begin(), m_Report.lines.end(),
                            [](const std::string& sLine)
                            { return sLine.find("QvAgent.exe") != std::string::npos; }),
              1);
}

TEST_F(UninstallPlanTest, TouchesNothingWithoutALog)
{
    UninstallPlan plan(UninstallTexts(), m_Report);
    UninstallOutcome outcome = plan.Run((m_sPrg + "\\None.log").c_str());
    EXPECT_FALSE(outcome.bLogRead);
    std::vector<std::string> expected = {
        "The installation history file is missing: " + m_sPrg + "\\None.log", "Cannot uninstall."};
    EXPECT_EQ(m_Report.lines, expected);
    EXPECT_TRUE(PathExists(m_sPrg + "\\QvAgent.exe"));
    EXPECT_TRUE(RegValueExists(REG_RUN_KEY, REG_AUTORUN_VALUE));
    EXPECT_TRUE(RegKeyExists(PRODUCT_REG_KEY));
}

TEST_F(UninstallPlanTest, SpeaksTheLanguageTheSetupExported)
{
    ASSERT_TRUE(SetRegString(LANGUAGE_REG_KEY, "glu_RemovedFileS", "Datei %s entfernt"));
    ASSERT_TRUE(SetRegString(LANGUAGE_REG_KEY, "glu_Complete", "Fertig"));
    ASSERT_TRUE(SetRegString(LANGUAGE_REG_KEY, "glu_RemovedFolderS", ""));
    UninstallTexts texts;
    texts.LoadFromRegistry();
    Run(FullLog(), texts);
    EXPECT_TRUE(m_Report.Has("Datei " + m_sPrg + "\\QvAgent.exe entfernt"));
    EXPECT_TRUE(m_Report.Has("Removed folder " + m_sPrg));
    EXPECT_EQ(m_Report.lines.back(), "Fertig");
}

TEST_F(UninstallPlanTest, RemovesItsOwnFileAfterTheLog)
{
    std::string sOwn = m_Root / "Own";
    std::string sSelf = sOwn + "\\Uninstall.exe";
    std::string sLog = sOwn + "\\Install.log";
    ASSERT_TRUE(CreateDirectoryA(sOwn.c_str(), nullptr));
    ASSERT_TRUE(WriteWholeFile(sSelf, "MZ"));
    ASSERT_TRUE(WriteWholeFile(sLog, "S_FOLDER_ " + sOwn + "\r\nS_PRGFILE " + sSelf +
                                         "\r\nS_PRGFILE " + sLog + "\r\n"));
    UninstallPlan plan(UninstallTexts(), m_Report);
    plan.SetSelfPath(sSelf.c_str());
    UninstallOutcome outcome = plan.Run(sLog.c_str());
    EXPECT_EQ(outcome.iFailures, 0);
    EXPECT_FALSE(PathExists(sOwn));
    int iLog = m_Report.IndexOf("Deleted file " + sLog);
    int iSelf = m_Report.IndexOf("Deleted file " + sSelf);
    ASSERT_GE(iLog, 0);
    EXPECT_LT(iLog, iSelf);
    EXPECT_LT(iSelf, m_Report.IndexOf("Removed folder " + sOwn));
}

TEST_F(UninstallPlanTest, LeavesItsOwnFileToTheRestartWhileWindowsHoldsIt)
{
    PendingRemovalsGuard pending;
    std::string sOwn = m_Root / "Own";
    std::string sSelf = sOwn + "\\Uninstall.exe";
    std::string sLog = sOwn + "\\Install.log";
    ASSERT_TRUE(CreateDirectoryA(sOwn.c_str(), nullptr));
    ASSERT_TRUE(WriteWholeFile(sSelf, "MZ"));
    // Open without delete sharing, as Windows holds a running program.
    TxFileHandle hold(CreateFileA(sSelf.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(hold.IsValid());
    UninstallPlan plan(UninstallTexts(), m_Report);
    plan.SetSelfPath(sSelf.c_str());
    ASSERT_TRUE(WriteWholeFile(sLog, "S_FOLDER_ " + sOwn + "\r\nS_PRGFILE " + sSelf + "\r\n"));
    UninstallOutcome outcome = plan.Run(sLog.c_str());
    EXPECT_EQ(outcome.iFailures, 0);
    EXPECT_FALSE(PathExists(sLog));
    EXPECT_TRUE(m_Report.Has("File " + sSelf + " will be deleted when Windows restarts."));
    EXPECT_TRUE(m_Report.Has("Folder " + sOwn + " will be removed when Windows restarts."));
    std::string sPending = PendingRemovalsGuard::Current();
    EXPECT_NE(sPending.find(sSelf + '\0'), std::string::npos);
    EXPECT_NE(sPending.find(sOwn + '\0'), std::string::npos);
}

TEST(UninstallPlanOrder, IsNewestFirstWithEachItemOnce)
{
    std::vector<InstallLogRecord> records = {
        {LogItemKind::Folder, "C:\\P", 0},          {LogItemKind::ProgramFile, "C:\\P\\a", 0},
        {LogItemKind::Autorun, "QuorvaneAgent", 0}, {LogItemKind::ProgramFile, "C:\\P\\A", 1},
        {LogItemKind::Shortcut, "C:\\S\\l.lnk", 1}, {LogItemKind::Autorun, "QuorvaneAgent", 1},
        {LogItemKind::ProgramFile, "c:\\p/a", 1},
    };
    std::vector<InstallLogRecord> order = UninstallPlan::RemovalOrder(records);
    std::vector<std::string> texts;
    for (const InstallLogRecord& r : order)
        texts.push_back(r.sText.GetText());
    std::vector<std::string> expected = {"c:\\p/a", "QuorvaneAgent", "C:\\S\\l.lnk", "C:\\P"};
    EXPECT_EQ(texts, expected);
    EXPECT_TRUE(UninstallPlan::RemovalOrder({}).empty());
}
} // namespace
