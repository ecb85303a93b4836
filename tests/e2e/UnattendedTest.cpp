// Installations without the wizard: the switches, the exit codes, the log
// file and one setup at a time.
#include "InstallExpectations.h"
#include "MachineSnapshot.h"
#include "MessagePump.h"
#include "SetupE2eTest.h"
#include "WindowQuery.h"

#include <cstdio>
#include <functional>
#include <map>
#include <set>

namespace
{
constexpr DWORD RUN_TIMEOUT_MS = 60000;
constexpr char ENGLISH_CAPTION[] = "Quorvane 1.04 Setup";

// Every visible top-level window a process showed while it ran.
struct WatchedRun
{
    DWORD dwExitCode = STILL_ACTIVE;
    std::vector<std::string> windows; // "class: caption"
};

std::string Listed(const std::vector<std::string>& items)
{
    std::string sText;
    for (const std::string& sItem : items)
        sText += "\n  " + sItem;
    return sText;
}

// The messages of a /LOG file: each line without its time, thread id and
// indent. False when a line does not begin with the time stamp.
bool LogFileMessages(const std::string& sBytes, std::vector<std::string>& messages)
{
    size_t nPos = 0;
    while (nPos < sBytes.size())
    {
        size_t nEnd = sBytes.find("\r\n", nPos);
        if (nEnd == std::string::npos)
            return false;
        std::string sLine = sBytes.substr(nPos, nEnd - nPos);
        nPos = nEnd + 2;
        // "d.m.yy h:mm:ss " then 8 hex digits and 7 blanks.
        int iDay, iMonth, iYear, iHour, iMinute, iSecond, n = 0;
        if (std::sscanf(sLine.c_str(), "%d.%d.%d %d:%d:%d %n", &iDay, &iMonth, &iYear, &iHour,
                        &iMinute, &iSecond, &n) != 6 ||
            n == 0 || sLine.size() < static_cast<size_t>(n) + 15)
            return false;
        size_t nText = sLine.find_first_not_of(' ', static_cast<size_t>(n) + 8);
        messages.push_back(nText == std::string::npos ? std::string() : sLine.substr(nText));
    }
    return true;
}
} // namespace

class UnattendedTest : public SetupE2eTest
{
protected:
    bool Launch(ChildProcess& process, const std::string& sArguments)
    {
        std::string sSetup = MediumFile("Setup.exe");
        return process.Start(sSetup, "\"" + sSetup + "\" " + sArguments, m_sCurrentFolder);
    }

    // Runs the setup with sArguments to its end, noting each window it shows;
    // onWindow sees each one as it comes.
    WatchedRun Run(const std::string& sArguments,
                   const std::function<void(HWND)>& onWindow = nullptr)
    {
        WatchedRun run;
        ChildProcess& process = m_Wizard.Process();
        if (!Launch(process, sArguments))
        {
            ADD_FAILURE() << "cannot start the setup with " << sArguments;
            return run;
        }
        std::set<HWND> seen;
        bool bEnded = WaitUntil(
            [&]
            {
                for (HWND hWnd : TopWindows(process.Id()))
                {
                    if (!seen.insert(hWnd).second)
                        continue;
                    char szCaption[256] = "";
                    GetWindowTextA(hWnd, szCaption, sizeof(szCaption));
                    run.windows.push_back(ClassOf(hWnd) + ": " + szCaption);
                    if (onWindow)
                        onWindow(hWnd);
                }
                return !process.IsRunning();
            },
            RUN_TIMEOUT_MS);
        EXPECT_TRUE(bEnded) << "the setup did not end: " << sArguments;
        run.dwExitCode = process.ExitCode();
        return run;
    }

    // The contents of every file the installation left, by path, but for
    // "Install.log" and the shortcuts (compared by their records and targets).
    std::map<std::string, std::string> InstalledBytes()
    {
        std::map<std::string, std::string> files;
        std::vector<std::string> paths = {m_Paths.ScreenSaver()};
        for (const std::string& sName : PlanFileNames())
            paths.push_back(PlanTarget(m_Paths, sName));
        for (const std::string& sName : ListFiles(m_Paths.sImageDir))
            paths.push_back(JoinPath(m_Paths.sImageDir, sName));
        for (const std::string& sPath : paths)
            ReadBytes(sPath, files[sPath]);
        return files;
    }

    std::map<std::string, std::string> ShortcutTargets()
    {
        std::map<std::string, std::string> targets;
        for (const std::string& sLink : m_Paths.ShortcutPlaces())
        {
            ShortcutInfo info;
            if (ReadShortcut(sLink, info))
                targets[sLink] = info.sTarget + " | " + info.sDescription;
        }
        return targets;
    }

    std::vector<std::string> LogRecords()
    {
        std::string sLog;
        EXPECT_TRUE(ReadBytes(JoinPath(m_Paths.sProgramDir, "Install.log"), sLog));
        auto blocks = InstallLogBlocks(sLog);
        EXPECT_EQ(blocks.size(), 1u);
        if (blocks.empty() || blocks[0].empty())
            return {};
        EXPECT_TRUE(IsTimeLine(blocks[0].back())) << blocks[0].back();
        blocks[0].pop_back();
        return blocks[0];
    }

    // Makes the setup wait AGENT_CLOSE_WAIT_MS after its close request, with
    // its progress window up, as it does when the agent runs.
    void PretendTheAgentRuns()
    {
        m_hAgentEvent.Reset(CreateEventA(nullptr, TRUE, FALSE, "QvAgentExternalClose"));
        ASSERT_TRUE(m_hAgentEvent.IsValid());
    }

    bool IsProgressWindow(HWND hWnd) { return ClassOf(hWnd) == "TFormSilentProgress"; }

    TxKernelHandle m_hAgentEvent;
};

// The same choices, the same result: the wizard's defaults walked through,
// then /VERYSILENT with none given.
TEST_F(UnattendedTest, VerySilentInstallsWhatTheWizardDoesWithoutAnyWindow)
{
    MakeMedium();
    StartSetup();
    CloseFinishStep(InstallAndWaitForFinish(WalkToInstallStep(true)), false);
    MachineSnapshot wizard = MachineSnapshot::Take(m_Paths);
    std::map<std::string, std::string> wizardFiles = InstalledBytes();
    std::map<std::string, std::string> wizardLinks = ShortcutTargets();
    std::vector<std::string> wizardRecords = LogRecords();
    RemoveProduct(m_Paths);
    ASSERT_TRUE(ProductTraces(m_Paths).empty());
    m_Log.Clear();

    std::string sLogFile = m_Work / "setup log.txt";
    WatchedRun run = Run("/VERYSILENT /LOG=\"" + sLogFile + "\"");
    EXPECT_EQ(run.dwExitCode, 0u);
    EXPECT_TRUE(run.windows.empty()) << "windows shown:" << Listed(run.windows);

    // Times aside: the log's and the shortcut's own write times.
    std::vector<std::string> differences;
    for (const SnapshotChange& change : wizard.ChangesTo(MachineSnapshot::Take(m_Paths)))
    {
        bool bOwnTime = change.Kind == SnapshotChange::ChangeKind::Changed &&
                        (change.sItem.find("\\Install.log") != std::string::npos ||
                         change.sItem.find(".lnk") != std::string::npos) &&
                        change.sBefore.substr(0, change.sBefore.find(',')) ==
                            change.sAfter.substr(0, change.sAfter.find(','));
        if (!bOwnTime)
            differences.push_back(change.Describe());
    }
    EXPECT_TRUE(differences.empty()) << "unlike the wizard's installation:" << Listed(differences);
    EXPECT_TRUE(InstalledBytes() == wizardFiles) << "file contents differ";
    EXPECT_EQ(ShortcutTargets(), wizardLinks);
    EXPECT_FALSE(wizardLinks.empty());
    EXPECT_EQ(LogRecords(), wizardRecords);

    // The log file holds the receiver's lines, in order, each with its time,
    // and closes with the exit code.
    std::string sBytes;
    ASSERT_TRUE(ReadBytes(sLogFile, sBytes));
    std::vector<std::string> messages;
    EXPECT_TRUE(LogFileMessages(sBytes, messages)) << sBytes.substr(0, 200);
    EXPECT_EQ(messages, m_Log.Messages());
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), "Setup exit code: 0");
    EXPECT_GE(m_Log.Find("Copying "), 0);
}

TEST_F(UnattendedTest, SilentShowsItsProgressWindowAndEndsWith0)
{
    MakeMedium();
    PretendTheAgentRuns();
    bool bProgressSeen = false;
    WatchedRun run = Run("/SILENT",
                         [&](HWND hWnd)
                         {
                             if (!IsProgressWindow(hWnd))
                                 return;
                             bProgressSeen = true;
                             EXPECT_EQ(WindowText(hWnd), ENGLISH_CAPTION);
                             EXPECT_FALSE(Children(hWnd).empty());
                             EXPECT_NE(FindChild(hWnd, "msctls_progress32", ""), nullptr);
                             EXPECT_TRUE(IsUsable(FindChild(hWnd, "Button", "Cancel")));
                         });
    EXPECT_EQ(run.dwExitCode, 0u);
    EXPECT_TRUE(bProgressSeen) << "windows shown:" << Listed(run.windows);
    EXPECT_EQ(run.windows.size(), 1u) << Listed(run.windows);
    ExpectProgramFiles(m_Paths, "ENGLISH");
    ExpectSystemConfiguration(m_Paths, true);
}

TEST_F(UnattendedTest, CancelInTheProgressWindowStopsWith1602AndRollsBack)
{
    MakeMedium();
    PretendTheAgentRuns();
    WatchedRun run = Run("/SILENT",
                         [&](HWND hWnd)
                         {
                             if (IsProgressWindow(hWnd))
                             {
                                 EXPECT_TRUE(Click(FindChild(hWnd, "Button", "Cancel")));
                             }
                         });
    EXPECT_EQ(run.dwExitCode, 1602u);
    EXPECT_EQ(run.windows.size(), 1u) << "a question was asked:" << Listed(run.windows);
    EXPECT_TRUE(ProductTraces(m_Paths).empty());
    EXPECT_GE(m_Log.Find("RunUnattendedSetup - stopped by Cancel"), 0);
    EXPECT_GE(m_Log.Find("RollBack"), 0);
    EXPECT_TRUE(m_Log.HasMessage("Setup exit code: 1602"));
}

TEST_F(UnattendedTest, ASecondSetupWhileOneRunsEndsWith1618)
{
    MakeMedium();
    StartSetup();
    HWND hWelcome = m_Wizard.WaitForStep(WELCOME_CLASS);
    ASSERT_NE(hWelcome, nullptr);

    ChildProcess second;
    ASSERT_TRUE(Launch(second, "/S"));
    ASSERT_TRUE(second.WaitForExit(WAIT_TIMEOUT_MS));
    EXPECT_EQ(second.ExitCode(), 1618u);

    // Without switches: a box says so.
    ASSERT_TRUE(second.Start(MediumFile("Setup.exe"), "", m_sCurrentFolder));
    MessageBoxInfo box = WaitForMessageBox(second.Id(), WAIT_TIMEOUT_MS);
    ASSERT_NE(box.hWnd, nullptr) << "no box";
    EXPECT_EQ(box.sCaption, "Error");
    EXPECT_EQ(box.sText, "Another Quorvane setup is running. Wait until it has ended, then start "
                         "this setup again.");
    EXPECT_TRUE(TopWindows(second.Id(), WELCOME_CLASS).empty());
    ASSERT_TRUE(Answer(box, IDOK));
    ASSERT_TRUE(second.WaitForExit(WAIT_TIMEOUT_MS));
    EXPECT_EQ(second.ExitCode(), 1618u);

    ConfirmCancelAndExit(hWelcome);
    EXPECT_TRUE(ProductTraces(m_Paths).empty());
}

// /? lists the switches; a switch the setup cannot use gets a box naming
// it, or with /SUPPRESSMSGBOXES only a line in the log; nothing is made.
TEST_F(UnattendedTest, HelpAndBadInputMakeNothing)
{
    MakeMedium();
    ChildProcess& process = m_Wizard.Process();
    ASSERT_TRUE(Launch(process, "/?"));
    MessageBoxInfo box = WaitForMessageBox(process.Id(), WAIT_TIMEOUT_MS);
    ASSERT_NE(box.hWnd, nullptr) << "no help";
    EXPECT_EQ(box.sCaption, ENGLISH_CAPTION);
    EXPECT_EQ(box.sText.compare(0, 22, "Setup.exe [switches]\r\n"), 0) << box.sText;
    EXPECT_NE(box.sText.find("/D=folder"), std::string::npos) << box.sText;
    ASSERT_TRUE(Answer(box, IDOK));
    ASSERT_TRUE(process.WaitForExit(WAIT_TIMEOUT_MS));
    EXPECT_EQ(process.ExitCode(), 0u);

    ASSERT_TRUE(Launch(process, "/VERYSILENT /IMAGES=many"));
    box = WaitForMessageBox(process.Id(), WAIT_TIMEOUT_MS);
    ASSERT_NE(box.hWnd, nullptr) << "no box";
    EXPECT_EQ(box.sCaption, "Error");
    EXPECT_EQ(box.sText, "The command line switch /IMAGES=many is not valid. Start the setup with "
                         "/? to see the switches it accepts.");
    ASSERT_TRUE(Answer(box, IDOK));
    ASSERT_TRUE(process.WaitForExit(WAIT_TIMEOUT_MS));
    EXPECT_EQ(process.ExitCode(), 87u);

    struct Case
    {
        std::string sArguments;
        DWORD dwExitCode;
        std::string sLogLine; // the start of a line the log must have
    };
    const std::string sNoFolder = m_Work / "missing\\setup.log";
    const Case cases[] = {
        {"/S /FOO", 87, "RunSetupProcess - switch not valid: /FOO"},
        {"/S /DIR=", 87, "RunSetupProcess - switch not valid: /DIR="},
        {"/S /DIR=Quorvane", 87, "RunSetupProcess - switch not valid: /DIR=Quorvane"},
        {"/S /IMAGES=-1", 87, "RunSetupProcess - switch not valid: /IMAGES=-1"},
        {"/S /LOG=\"" + sNoFolder + "\"", 1603,
         "RunSetupProcess - log file cannot be opened: path=" + sNoFolder},
        // No drive Q: in the prefix: the rights check refuses the folder.
        {"/S /DIR=Q:\\Quorvane", 1603,
         "CUnattendedMessages::ShowMessage - box answered without showing it: "
         "caption=Insufficient rights, text=Cannot create folders in Q:\\Quorvane."},
    };
    for (const Case& c : cases)
    {
        m_Log.Clear();
        WatchedRun run = Run(c.sArguments);
        EXPECT_EQ(run.dwExitCode, c.dwExitCode) << c.sArguments;
        EXPECT_TRUE(run.windows.empty()) << c.sArguments << Listed(run.windows);
        EXPECT_GE(m_Log.Find(c.sLogLine), 0) << c.sArguments;
        EXPECT_TRUE(ProductTraces(m_Paths).empty()) << c.sArguments;
    }
    EXPECT_FALSE(FolderExists(m_Work / "missing"));
}

TEST_F(UnattendedTest, LanguageImageShortcutAndManagerSwitches)
{
    MakeMedium();
    const std::string sImages = m_Work / "Bilder";
    WatchedRun run = Run("-s -lang=deutsch -runmanager /STARTMENU=user /DESKTOP=all /IMAGES=2 "
                         "/IMAGEDIR=\"" +
                         sImages + "\"");
    EXPECT_EQ(run.dwExitCode, 0u);
    EXPECT_EQ(ListFiles(sImages).size(), 2u);
    EXPECT_TRUE(ListFiles(m_Paths.sImageDir).empty());
    ExpectProgramFiles(m_Paths, "GERMAN");
    ExpectLanguageExport("Deutsch", "GERMAN", 7, "Abbrechen");
    EXPECT_TRUE(FileExists(JoinPath(m_Paths.sPrograms, SHORTCUT_NAME)));
    EXPECT_TRUE(FileExists(JoinPath(m_Paths.sCommonDesktop, SHORTCUT_NAME)));
    EXPECT_FALSE(FileExists(JoinPath(m_Paths.sCommonPrograms, SHORTCUT_NAME)));
    std::string sManager = JoinPath(m_Paths.sProgramDir, "QvManag.exe");
    EXPECT_TRUE(WaitUntil([&] { return !ProcessesOf(sManager).empty(); }, WAIT_TIMEOUT_MS))
        << "the manager was not started";
}

// A check that refuses the installation: its box is answered silently and
// logged, the run ends with 1603 and nothing is made.
struct UnattendedRefusal
{
    const char* pszName;
    MediumOptions options;
    // What the box line of the log names after "caption=".
    const char* pszBox;
};

void PrintTo(const UnattendedRefusal& refusal, std::ostream* pStream)
{
    *pStream << refusal.pszName;
}

class UnattendedRefusalTest : public UnattendedTest,
                              public ::testing::WithParamInterface<UnattendedRefusal>
{
};

TEST_P(UnattendedRefusalTest, EndsWith1603AndMakesNothing)
{
    MakeMedium(GetParam().options);
    WatchedRun run = Run("/S");
    EXPECT_EQ(run.dwExitCode, 1603u);
    EXPECT_TRUE(run.windows.empty()) << Listed(run.windows);
    EXPECT_GE(m_Log.Find(std::string("CUnattendedMessages::ShowMessage - box answered without "
                                     "showing it: caption=") +
                         GetParam().pszBox),
              0);
    EXPECT_TRUE(m_Log.HasMessage("Setup exit code: 1603"));
    EXPECT_LT(m_Log.Find("Copying "), 0);
    EXPECT_TRUE(ProductTraces(m_Paths).empty());
}

namespace
{
MediumOptions DiskTooSmall()
{
    MediumOptions options;
    options.iImages = 1;
    options.qwHugeImage = 1ull << 40;
    return options;
}

MediumOptions ChangedAfterSealing()
{
    MediumOptions options;
    options.bSealed = true;
    options.bChangedAfterSeal = true;
    return options;
}
} // namespace

INSTANTIATE_TEST_SUITE_P(
    Checks, UnattendedRefusalTest,
    ::testing::Values(UnattendedRefusal{"DiskTooSmall", DiskTooSmall(),
                                        "Cannot install, text=There is not enough free space"},
                      UnattendedRefusal{"ArchiveNotTheSealedOne", ChangedAfterSealing(),
                                        "Error, text=Copy Error: "}),
    [](const ::testing::TestParamInfo<UnattendedRefusal>& info)
    { return std::string(info.param.pszName); });
