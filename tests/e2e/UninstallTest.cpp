// Install, then run the installed uninstaller: the machine must be as it was
// before, item by item, apart from what the user put there himself.
//
// "InstalledPrgDir" and "InstalledImgDir" must go as well, with the whole
// product key: a setup started later would otherwise propose folders that no
// longer exist, and the product's programs would find an installation that
// is not there.
#include "ChildProcess.h"
#include "ElevationRecord.h"
#include "MachineSnapshot.h"
#include "MessagePump.h"
#include "ProcessTree.h"
#include "ProductNames.h"
#include "SetupE2eTest.h"
#include "TxHandles.h"
#include "WindowQuery.h"

#include <set>

namespace
{
constexpr DWORD UNINSTALL_TIMEOUT_MS = 30000;

// German texts of the options and images steps (Windows-1252).
constexpr char START_MENU_GROUP[] = "Quorvane zum Startmen\xFC hinzuf\xFCgen";
constexpr char DESKTOP_GROUP[] = "Quorvane-Symbol auf dem Desktop anlegen";
constexpr char FOR_CURRENT_USER[] = "Nur f\xFCr den aktuellen Benutzer hinzuf\xFCgen";
constexpr char FOR_ALL_USERS[] = "F\xFCr alle Benutzer hinzuf\xFCgen";
constexpr char ALL_IMAGES[] = "Alle Bilder installieren";

bool SamePath(const std::string& sA, const std::string& sB)
{
    return lstrcmpiA(sA.c_str(), sB.c_str()) == 0;
}

// Wine's shell passes every new link to its menu builder, which copies it as a
// launcher into the Linux home folder, outside the prefix, and never takes it
// back when the link goes. While this object lives the prefix's Wine does not
// start it (an empty override disables a program); the earlier setting comes
// back afterwards.
class NoHostLaunchers
{
public:
    NoHostLaunchers() : m_bHadValue(false)
    {
        TxRegKey key;
        if (!OpenKey(key))
        {
            ADD_FAILURE() << "cannot open HKCU\\" << OVERRIDES_KEY;
            return;
        }
        char szOld[256] = "";
        DWORD dwSize = sizeof(szOld) - 1;
        DWORD dwType = 0;
        m_bHadValue = RegQueryValueExA(key.Get(), BUILDER, nullptr, &dwType,
                                       reinterpret_cast<BYTE*>(szOld), &dwSize) == ERROR_SUCCESS &&
                      dwType == REG_SZ;
        m_sOldValue = m_bHadValue ? szOld : "";
        EXPECT_EQ(
            RegSetValueExA(key.Get(), BUILDER, 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1),
            ERROR_SUCCESS);
    }
    ~NoHostLaunchers()
    {
        TxRegKey key;
        if (!OpenKey(key))
            return;
        if (m_bHadValue)
            RegSetValueExA(key.Get(), BUILDER, 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(m_sOldValue.c_str()),
                           static_cast<DWORD>(m_sOldValue.size() + 1));
        else
            RegDeleteValueA(key.Get(), BUILDER);
    }
    NoHostLaunchers(const NoHostLaunchers&) = delete;
    NoHostLaunchers& operator=(const NoHostLaunchers&) = delete;

private:
    static constexpr char OVERRIDES_KEY[] = "Software\\Wine\\DllOverrides";
    static constexpr char BUILDER[] = "winemenubuilder.exe";

    static bool OpenKey(TxRegKey& key)
    {
        return RegCreateKeyExA(HKEY_CURRENT_USER, OVERRIDES_KEY, 0, nullptr,
                               REG_OPTION_NON_VOLATILE, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                               key.Receive(), nullptr) == ERROR_SUCCESS;
    }

    bool m_bHadValue;
    std::string m_sOldValue;
};

std::string Listed(const std::vector<std::string>& lines)
{
    std::string sText;
    for (const std::string& sLine : lines)
        sText += "\n  " + sLine;
    return sText;
}
} // namespace

class UninstallTest : public SetupE2eTest
{
protected:
    void SetUp() override
    {
        SetupE2eTest::SetUp();
        if (!HasFatalFailure())
            m_Before = MachineSnapshot::Take(m_Paths);
    }

    std::string SelfPath() const { return JoinPath(m_Paths.sProgramDir, "Uninstall.exe"); }

    // Picks an item of a radio group; the two groups hold the same item texts,
    // so the group's frame tells them apart.
    void ChooseInGroup(HWND hStep, const std::string& sGroup, const std::string& sItem)
    {
        HWND hGroup = FindChild(hStep, "Button", sGroup);
        ASSERT_NE(hGroup, nullptr) << sGroup;
        RECT frame;
        ASSERT_TRUE(GetWindowRect(hGroup, &frame));
        for (HWND hChild : Children(hStep))
        {
            RECT item;
            if (hChild == hGroup || ClassOf(hChild) != "Button" || WindowText(hChild) != sItem ||
                !GetWindowRect(hChild, &item))
                continue;
            POINT centre = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
            if (!PtInRect(&frame, centre))
                continue;
            ASSERT_TRUE(ClickAndWait(hChild));
            EXPECT_TRUE(IsChecked(hChild)) << sGroup << ": " << sItem;
            return;
        }
        FAIL() << "no item " << sItem << " in " << sGroup;
    }

    // In German, all images, the Start-menu link for the current user and the
    // desktop link for all users.
    void InstallInGerman()
    {
        const UiTexts& de = GermanTexts();
        StartSetup();
        HWND hWelcome = m_Wizard.WaitForStep(WELCOME_CLASS);
        ASSERT_NE(hWelcome, nullptr);
        ASSERT_TRUE(PickListItem(FindChild(hWelcome, "ListBox", ""), "Deutsch"));
        m_Wizard.SetTexts(de);
        HWND hOptions = m_Wizard.PressAndWait(hWelcome, de.sNext, OPTIONS_CLASS);
        ASSERT_NE(hOptions, nullptr);
        ASSERT_NO_FATAL_FAILURE(ChooseInGroup(hOptions, START_MENU_GROUP, FOR_CURRENT_USER));
        ASSERT_NO_FATAL_FAILURE(ChooseInGroup(hOptions, DESKTOP_GROUP, FOR_ALL_USERS));
        HWND hImages = m_Wizard.PressAndWait(hOptions, de.sNext, IMAGES_CLASS);
        ASSERT_NE(hImages, nullptr);
        HWND hAll = FindChildStartingWith(hImages, "Button", ALL_IMAGES);
        ASSERT_NE(hAll, nullptr);
        ASSERT_TRUE(ClickAndWait(hAll));
        ASSERT_TRUE(m_Wizard.Press(hImages, de.sNext));
        HWND hBye = InstallAndWaitForFinish(m_Wizard.WaitForInstallStep());
        ASSERT_NE(hBye, nullptr);
        CloseFinishStep(hBye, false);
    }

    // Runs the setup again over the installation, in English with its
    // defaults, and stops it (Yes) before its second file.
    void StopAReinstall()
    {
        m_Wizard.SetTexts(EnglishTexts());
        StartSetup();
        HWND hWelcome = m_Wizard.WaitForStep(WELCOME_CLASS);
        ASSERT_NE(hWelcome, nullptr);
        ASSERT_TRUE(PickListItem(FindChild(hWelcome, "ListBox", ""), "English"));
        MessageBoxInfo box = StartAndStop(WalkToInstallStep(true));
        ASSERT_NE(box.hWnd, nullptr) << "no stop question";
        ASSERT_TRUE(Answer(box, IDYES));
        HWND hBye = m_Wizard.WaitForStep(BYE_CLASS, 60000);
        ASSERT_NE(hBye, nullptr);
        // The rollback has left the earlier installation whole: the finish
        // step says so instead of asking for a new installation.
        EXPECT_TRUE(ShowsText(hBye, "Static", m_Wizard.Texts().sSetupUnsuccessfulKept));
        CloseFinishStep(hBye, false, 1602);
    }

    // Runs the setup again over the installation, in English, choosing no
    // images, to its successful end.
    void ReinstallWithoutImages()
    {
        m_Wizard.SetTexts(EnglishTexts());
        StartSetup();
        const UiTexts& t = m_Wizard.Texts();
        HWND hWelcome = m_Wizard.WaitForStep(WELCOME_CLASS);
        ASSERT_NE(hWelcome, nullptr);
        ASSERT_TRUE(PickListItem(FindChild(hWelcome, "ListBox", ""), "English"));
        HWND hOptions = m_Wizard.PressAndWait(hWelcome, t.sNext, OPTIONS_CLASS);
        ASSERT_NE(hOptions, nullptr);
        HWND hImages = m_Wizard.PressAndWait(hOptions, t.sNext, IMAGES_CLASS);
        ASSERT_NE(hImages, nullptr);
        HWND hNone = FindChildStartingWith(hImages, "Button", "Do not install any images");
        ASSERT_NE(hNone, nullptr);
        ASSERT_TRUE(ClickAndWait(hNone));
        ASSERT_TRUE(m_Wizard.Press(hImages, t.sNext));
        HWND hBye = InstallAndWaitForFinish(m_Wizard.WaitForInstallStep());
        ASSERT_NE(hBye, nullptr);
        EXPECT_TRUE(ShowsText(hBye, "Static", t.sSetupSuccessful));
        CloseFinishStep(hBye, false);
    }

    // What an installation must have made, so that its removal is tested.
    void ExpectInstalled()
    {
        MachineSnapshot installed = MachineSnapshot::Take(m_Paths);
        for (const std::string& sItem :
             {MachineSnapshot::FolderItem(m_Paths.sProgramDir),
              MachineSnapshot::FileItem(SelfPath()), MachineSnapshot::FolderItem(m_Paths.sImageDir),
              MachineSnapshot::FileItem(m_Paths.ScreenSaver()),
              MachineSnapshot::FileItem(JoinPath(m_Paths.sPrograms, SHORTCUT_NAME)),
              MachineSnapshot::FileItem(JoinPath(m_Paths.sCommonDesktop, SHORTCUT_NAME)),
              MachineSnapshot::ValueItem(SETUP_KEY, "InstalledPrgDir"),
              MachineSnapshot::ValueItem(SETUP_KEY, "InstalledImgDir"),
              MachineSnapshot::ValueItem(LANGUAGE_KEY, "Language"),
              MachineSnapshot::ValueItem(RUN_KEY, "QuorvaneAgent"),
              MachineSnapshot::KeyItem(UNINSTALL_KEY)})
            EXPECT_TRUE(installed.Holds(sItem) && !m_Before.Holds(sItem))
                << "not installed: " << sItem;
    }

    // Runs the uninstall entry's command with /quiet, from the program folder
    // as the system's list of programs may, and waits for the copy it hands
    // its work to as well; the exit code of whoever ended last.
    DWORD RunUninstaller()
    {
        std::string sCommand;
        EXPECT_TRUE(ReadRegString(UNINSTALL_KEY, "UninstallString", sCommand));
        ProcessTree uninstaller;
        // Seen once on a loaded machine: the first start failed while the
        // ending setup still let go of its files. Try again for a while.
        bool bStarted = false;
        for (int i = 0; i < 20 && !bStarted; ++i)
        {
            bStarted = uninstaller.Start(sCommand + " /quiet", m_Paths.sProgramDir);
            if (!bStarted)
                PumpFor(250);
        }
        if (!bStarted)
        {
            ADD_FAILURE() << "cannot start " << sCommand << ", error " << uninstaller.StartError();
            return STILL_ACTIVE;
        }
        EXPECT_TRUE(uninstaller.WaitForAll(UNINSTALL_TIMEOUT_MS)) << "the uninstaller did not end";
        EXPECT_EQ(uninstaller.ProcessCount(), 2u) << "the uninstaller did not hand over to a copy";
        return uninstaller.LastExitCode();
    }

    // Every change since the installation began that is left, one line each,
    // apart from the items in `stays` (which must be there). Nothing of the
    // installation may be left to the next restart: only the uninstaller's
    // temporary copy and its folder.
    std::vector<std::string> Leftovers(const std::set<std::string>& stays)
    {
        std::vector<std::string> lines;
        std::set<std::string> found;
        for (const SnapshotChange& change : m_Before.ChangesTo(MachineSnapshot::Take(m_Paths)))
        {
            bool bAdded = change.Kind == SnapshotChange::ChangeKind::Added;
            if (bAdded && stays.count(change.sItem) != 0)
                found.insert(change.sItem);
            else
                lines.push_back(change.Describe());
        }
        for (const std::string& sItem : stays)
            if (found.count(sItem) == 0)
                lines.push_back("gone, but must stay: " + sItem);
        for (const std::string& sPending : PendingDeletions())
            if (IsAtOrUnder(sPending, m_Paths.sProgramDir) ||
                IsAtOrUnder(sPending, m_Paths.sImageDir) ||
                SamePath(sPending, m_Paths.ScreenSaver()))
                lines.push_back("left to the restart: " + sPending);
        return lines;
    }

    // Whether the uninstaller's copy
    // "<Windows>\Temp\QvUninstall.<16 hex digits>\Uninstall.exe" waits for
    // the restart, its folder after it. It runs elevated, so its folder is
    // not in the user's temp folder, which the user's other programs may change.
    static bool TemporaryCopyIsPending()
    {
        char szWindows[MAX_PATH + 1] = "";
        UINT n = GetSystemWindowsDirectoryA(szWindows, MAX_PATH);
        std::string sPrefix =
            JoinPath(std::string(szWindows, n < MAX_PATH ? n : 0), "Temp") + "\\QvUninstall.";
        std::vector<std::string> pending = PendingDeletions();
        for (size_t i = 0; i + 1 < pending.size(); ++i)
            if (SamePath(pending[i].substr(0, sPrefix.size()), sPrefix) &&
                pending[i + 1].size() == sPrefix.size() + 16 &&
                SamePath(pending[i], pending[i + 1] + "\\Uninstall.exe"))
                return true;
        return false;
    }

    NoHostLaunchers m_NoLaunchers;
    MachineSnapshot m_Before;
};

TEST_F(UninstallTest, LeavesNothingOfTheInstallation)
{
    MakeMedium();
    ASSERT_NO_FATAL_FAILURE(InstallInGerman());
    ExpectInstalled();

    EXPECT_EQ(RunUninstaller(), 0u);
    std::vector<std::string> leftovers = Leftovers({});
    EXPECT_TRUE(leftovers.empty()) << "left after the uninstall:" << Listed(leftovers);
    EXPECT_TRUE(TemporaryCopyIsPending());
    EXPECT_FALSE(RegValueExists(SETUP_KEY, "InstalledPrgDir"));
    EXPECT_FALSE(RegValueExists(SETUP_KEY, "InstalledImgDir"));
}

// A repair stopped by the user leaves the earlier installation as it was: the
// files it replaced are back with their times, the agent it closed runs again,
// the manager starts, and the uninstaller still removes all of it.
TEST_F(UninstallTest, StoppedReinstallLeavesTheEarlierInstallationWorking)
{
    MakeMedium();
    ASSERT_NO_FATAL_FAILURE(InstallInGerman());
    const std::string sAgent = JoinPath(m_Paths.sProgramDir, "QvAgent.exe");
    ChildProcess agent;
    ASSERT_TRUE(agent.Start(sAgent, "\"" + sAgent + "\" /r", m_Paths.sProgramDir));
    // Only the agent the rollback starts may write its token down: this one
    // has looked for the record before it made its event.
    ASSERT_TRUE(WaitUntil(
        [] { return TxKernelHandle(OpenEventA(SYNCHRONIZE, FALSE, AGENT_CLOSE_EVENT)).IsValid(); },
        WAIT_TIMEOUT_MS));
    ElevationRecord elevation;
    std::string sLogBefore;
    ASSERT_TRUE(ReadBytes(JoinPath(m_Paths.sProgramDir, "Install.log"), sLogBefore));
    MachineSnapshot installed = MachineSnapshot::Take(m_Paths);
    int iSecondRun = m_Log.Find("TFormStepBye::SaveUninstallInfo") + 1;

    ASSERT_NO_FATAL_FAILURE(StopAReinstall());
    EXPECT_GE(m_Log.Find("Copying ", iSecondRun), 0) << "stopped before it replaced a file";
    EXPECT_GE(m_Log.Find("RollBack", iSecondRun), 0);
    for (const SnapshotChange& change : installed.ChangesTo(MachineSnapshot::Take(m_Paths)))
        ADD_FAILURE() << "changed by the stopped installation: " << change.Describe();
    std::string sLogAfter;
    EXPECT_TRUE(ReadBytes(JoinPath(m_Paths.sProgramDir, "Install.log"), sLogAfter));
    EXPECT_EQ(sLogAfter, sLogBefore);
    EXPECT_FALSE(agent.IsRunning()) << "the setup did not close the agent";
    EXPECT_TRUE(WaitUntil([&] { return !ProcessesOf(sAgent).empty(); }, 10000))
        << "the closed agent was not started again";
    EXPECT_EQ(elevation.WaitFor("QvAgent.exe", WAIT_TIMEOUT_MS), 0)
        << "the rollback started the agent with the setup's administrator rights";

    const std::string sManager = JoinPath(m_Paths.sProgramDir, "QvManag.exe");
    ChildProcess manager;
    ASSERT_TRUE(manager.Start(sManager, "", m_Paths.sProgramDir));
    PumpFor(1000);
    EXPECT_TRUE(manager.IsRunning()) << "the earlier installation's manager does not run";
    manager.Kill();

    EXPECT_EQ(RunUninstaller(), 0u);
    std::vector<std::string> leftovers = Leftovers({});
    EXPECT_TRUE(leftovers.empty()) << "left after the uninstall:" << Listed(leftovers);
    EXPECT_TRUE(ProcessesOf(sAgent).empty()) << "the uninstaller left the agent running";
}

// "Install.log" lists what every installation into the folder made: the
// images of the first stay its business after a second without images,
// which deletes "InstalledImgDir".
TEST_F(UninstallTest, ReinstallWithoutImagesLeavesNothingAfterTheUninstall)
{
    MakeMedium();
    ASSERT_NO_FATAL_FAILURE(InstallInGerman());
    ExpectInstalled();
    ASSERT_NO_FATAL_FAILURE(ReinstallWithoutImages());
    EXPECT_FALSE(RegValueExists(SETUP_KEY, "InstalledImgDir"));
    EXPECT_TRUE(PathExists(m_Paths.sImageDir)) << "the first installation's images went";

    EXPECT_EQ(RunUninstaller(), 0u);
    std::vector<std::string> leftovers = Leftovers({});
    EXPECT_TRUE(leftovers.empty()) << "left after the uninstall:" << Listed(leftovers);
}

TEST_F(UninstallTest, KeepsTheUsersFileAndItsFolder)
{
    MakeMedium();
    ASSERT_NO_FATAL_FAILURE(InstallInGerman());
    const std::string sUserFile = JoinPath(m_Paths.sProgramDir, "My notes.txt");
    const std::string sNotes = "written by the user after the installation\r\n";
    ASSERT_TRUE(WriteWholeFile(sUserFile, sNotes));

    EXPECT_EQ(RunUninstaller(), 0u);
    std::vector<std::string> leftovers = Leftovers(
        {MachineSnapshot::FolderItem(m_Paths.sProgramDir), MachineSnapshot::FileItem(sUserFile)});
    EXPECT_TRUE(leftovers.empty()) << "unexpected after the uninstall:" << Listed(leftovers);
    std::string sRead;
    EXPECT_TRUE(ReadBytes(sUserFile, sRead));
    EXPECT_EQ(sRead, sNotes);
}
