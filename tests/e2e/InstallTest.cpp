// Installations that run to the end: what lands on the machine, in the
// registry and in "Install.log".
#include "ElevationRecord.h"
#include "InstallExpectations.h"
#include "MessagePump.h"
#include "SetupE2eTest.h"
#include "WindowQuery.h"

#include <algorithm>

namespace
{
std::vector<std::string> MediumImages(const std::string& sMedium)
{
    return ListFiles(JoinPath(sMedium, "Images"), "*.jpg");
}
} // namespace

class InstallTest : public SetupE2eTest
{
protected:
    // The images step: picks the choice whose text starts with sChoice.
    void ChooseImages(HWND hImages, const std::string& sChoice)
    {
        HWND hRadio = FindChildStartingWith(hImages, "Button", sChoice);
        ASSERT_NE(hRadio, nullptr) << sChoice;
        ASSERT_TRUE(ClickAndWait(hRadio));
        EXPECT_TRUE(IsChecked(hRadio));
    }

    void ExpectOneLogBlock(const std::vector<std::string>& images)
    {
        std::string sLog;
        ASSERT_TRUE(ReadBytes(JoinPath(m_Paths.sProgramDir, "Install.log"), sLog));
        auto blocks = InstallLogBlocks(sLog);
        ASSERT_EQ(blocks.size(), 1u);
        std::vector<std::string> records = blocks[0];
        ASSERT_FALSE(records.empty());
        EXPECT_TRUE(IsTimeLine(records.back())) << records.back();
        records.pop_back();
        EXPECT_EQ(records, ExpectedLogRecords(m_Paths, true, images));
    }
};

TEST_F(InstallTest, FullEnglishInstallWithAllImages)
{
    MakeMedium();
    StartSetup();
    const UiTexts& t = m_Wizard.Texts();

    HWND hWelcome = m_Wizard.WaitForStep(WELCOME_CLASS);
    ASSERT_NE(hWelcome, nullptr);
    EXPECT_EQ(WindowText(hWelcome), t.sCaption);
    EXPECT_EQ(m_Wizard.Title(hWelcome), t.sWelcome);
    EXPECT_EQ(SelectedListItem(FindChild(hWelcome, "ListBox", "")), "English");
    EXPECT_EQ(m_Wizard.Button(hWelcome, t.sPrevious), nullptr);

    HWND hOptions = m_Wizard.PressAndWait(hWelcome, t.sNext, OPTIONS_CLASS);
    ASSERT_NE(hOptions, nullptr);
    EXPECT_EQ(m_Wizard.Title(hOptions), t.sInstallOptions);
    EXPECT_TRUE(ShowsText(hOptions, "Edit", m_Paths.sProgramDir));

    HWND hImages = m_Wizard.PressAndWait(hOptions, t.sNext, IMAGES_CLASS);
    ASSERT_NE(hImages, nullptr);
    EXPECT_EQ(m_Wizard.Title(hImages), t.sImages);
    // The language file's lines are trimmed, the trailing blank with them.
    EXPECT_NE(FindChildStartingWith(hImages, "Static", "3 images available to be installed."),
              nullptr);
    EXPECT_TRUE(ShowsText(hImages, "Edit", m_Paths.sImageDir));
    ChooseImages(hImages, "Install all images");

    ASSERT_TRUE(m_Wizard.Press(hImages, t.sNext));
    HWND hInstall = m_Wizard.WaitForInstallStep();
    ASSERT_NE(hInstall, nullptr);
    EXPECT_EQ(m_Wizard.Title(hInstall), t.sReadyToInstall);
    HWND hBye = InstallAndWaitForFinish(hInstall);
    ASSERT_NE(hBye, nullptr);
    EXPECT_EQ(m_Wizard.Title(hBye), t.sSetupComplete);
    EXPECT_TRUE(ShowsText(hBye, "Static", t.sSetupSuccessful));
    HWND hCheck = FindChild(hBye, "Button", t.sRunManagerNow);
    ASSERT_NE(hCheck, nullptr) << "the run-manager box is not shown";
    EXPECT_TRUE(IsChecked(hCheck));
    CloseFinishStep(hBye, false);

    std::vector<std::string> images = MediumImages(m_sMedium);
    ExpectProgramFiles(m_Paths, "ENGLISH");
    ExpectImages(m_Paths, JoinPath(m_sMedium, "Images"), images);
    ExpectSystemConfiguration(m_Paths, true);
    ExpectTheBuildsView(m_Paths);
    ExpectLanguageExport("English", "ENGLISH", 9, "Cancel");
    ExpectOneLogBlock(images);

    EXPECT_TRUE(m_Log.HasMessage("Setup dir: " + m_sMedium));
    EXPECT_TRUE(m_Log.HasMessage("Found 3 images"));
    int iCopies = 0;
    for (int i = m_Log.Find("Copying "); i >= 0; i = m_Log.Find("Copying ", i + 1))
        ++iCopies;
    EXPECT_EQ(iCopies, 33);
    EXPECT_GE(m_Log.Find("TFormStepBye::SaveUninstallInfo"), 0);
    EXPECT_LT(m_Log.Find("RollBack"), 0);
}

TEST_F(InstallTest, RandomSelectionInstallsExactlyN)
{
    const UiTexts& t = m_Wizard.Texts();
    HWND hOptions = StartAtOptionsStep(5);
    HWND hImages = m_Wizard.PressAndWait(hOptions, t.sNext, IMAGES_CLASS);
    ASSERT_NE(hImages, nullptr);
    // The random choice is preselected and proposes all images.
    HWND hRandom = FindChildStartingWith(hImages, "Button", "Install random selection");
    ASSERT_NE(hRandom, nullptr);
    EXPECT_TRUE(IsChecked(hRandom));
    HWND hCount = FindChild(hImages, "Edit", "5");
    ASSERT_NE(hCount, nullptr) << "the count does not propose all 5 images";
    ASSERT_TRUE(TypeText(hCount, "2"));

    ASSERT_TRUE(m_Wizard.Press(hImages, t.sNext));
    HWND hBye = InstallAndWaitForFinish(m_Wizard.WaitForInstallStep());
    ASSERT_NE(hBye, nullptr);
    CloseFinishStep(hBye, false);

    std::vector<std::string> all = MediumImages(m_sMedium);
    std::vector<std::string> installed = ListFiles(m_Paths.sImageDir);
    ASSERT_EQ(installed.size(), 2u);
    for (const std::string& sName : installed)
        EXPECT_NE(std::find(all.begin(), all.end(), sName), all.end()) << sName;
    ExpectImages(m_Paths, JoinPath(m_sMedium, "Images"), installed);
    ExpectProgramFiles(m_Paths, "ENGLISH");
    ExpectSystemConfiguration(m_Paths, true);
    EXPECT_TRUE(m_Log.HasMessage("Found 5 images"));
}

TEST_F(InstallTest, NoImagesOnMediumSkipsTheImagesStep)
{
    const UiTexts& t = m_Wizard.Texts();
    HWND hOptions = StartAtOptionsStep(0);
    ASSERT_NE(hOptions, nullptr);
    ASSERT_TRUE(m_Wizard.Press(hOptions, t.sNext));
    HWND hInstall = m_Wizard.WaitForInstallStep();
    ASSERT_NE(hInstall, nullptr);
    EXPECT_EQ(m_Wizard.Visible(IMAGES_CLASS), nullptr);

    // Back from the install step leads straight to the options.
    hOptions = m_Wizard.PressAndWait(hInstall, t.sPrevious, OPTIONS_CLASS);
    ASSERT_NE(hOptions, nullptr);
    ASSERT_TRUE(m_Wizard.Press(hOptions, t.sNext));
    HWND hBye = InstallAndWaitForFinish(m_Wizard.WaitForInstallStep());
    ASSERT_NE(hBye, nullptr);
    CloseFinishStep(hBye, false);

    ExpectProgramFiles(m_Paths, "ENGLISH");
    ExpectSystemConfiguration(m_Paths, false);
    EXPECT_FALSE(FolderExists(m_Paths.sImageDir));
    ExpectOneLogBlock({});
    EXPECT_TRUE(m_Log.HasMessage("Found 0 images"));
}

TEST_F(InstallTest, SecondInstallProposesTheFolderAndAppendsABlock)
{
    const std::string sParent = "C:\\QvE2E Second";
    m_ExtraFolders.push_back(sParent);
    m_Paths.sProgramDir = JoinPath(sParent, "Quorvane");
    MediumOptions options;
    options.iImages = 0;
    MakeMedium(options);
    const UiTexts& t = m_Wizard.Texts();

    StartSetup();
    HWND hOptions =
        m_Wizard.PressAndWait(m_Wizard.WaitForStep(WELCOME_CLASS), t.sNext, OPTIONS_CLASS);
    ASSERT_NE(hOptions, nullptr);
    HWND hFolder = FindChild(hOptions, "Edit", ProductPaths::Defaults().sProgramDir);
    ASSERT_NE(hFolder, nullptr);
    // A trailing backslash and blank are dropped on Next.
    ASSERT_TRUE(TypeText(hFolder, m_Paths.sProgramDir + "\\ "));
    ASSERT_TRUE(m_Wizard.Press(hOptions, t.sNext));
    CloseFinishStep(InstallAndWaitForFinish(m_Wizard.WaitForInstallStep()), false);

    StartSetup();
    hOptions = m_Wizard.PressAndWait(m_Wizard.WaitForStep(WELCOME_CLASS), t.sNext, OPTIONS_CLASS);
    ASSERT_NE(hOptions, nullptr);
    EXPECT_TRUE(ShowsText(hOptions, "Edit", m_Paths.sProgramDir)) << "earlier folder not proposed";
    ASSERT_TRUE(m_Wizard.Press(hOptions, t.sNext));
    CloseFinishStep(InstallAndWaitForFinish(m_Wizard.WaitForInstallStep()), false);

    ExpectProgramFiles(m_Paths, "ENGLISH");
    ExpectSystemConfiguration(m_Paths, false);
    std::string sLog;
    ASSERT_TRUE(ReadBytes(JoinPath(m_Paths.sProgramDir, "Install.log"), sLog));
    auto blocks = InstallLogBlocks(sLog);
    ASSERT_EQ(blocks.size(), 2u);
    // The second run found its folders in place and records no folder.
    std::vector<std::string> second = ExpectedLogRecords(m_Paths, true, {});
    second.erase(std::remove_if(second.begin(), second.end(),
                                [](const std::string& s) { return s.rfind("S_FOLDER_", 0) == 0; }),
                 second.end());
    EXPECT_TRUE(IsTimeLine(blocks[1].back()));
    blocks[1].pop_back();
    EXPECT_EQ(blocks[1], second);
    // Each block ends with its time line and an empty line.
    EXPECT_EQ(sLog.substr(sLog.size() - 4), "\r\n\r\n");
}

// The elevated setup starts the manager as the user: its token is not
// elevated. Under Wine the first route, the desktop shell's token, answers;
// ProgramStartTest covers that route's folder and command line by itself.
TEST_F(InstallTest, FinishStartsTheInstalledManagerInItsOwnFolder)
{
    MediumOptions options;
    options.iImages = 0;
    MakeMedium(options);
    StartSetup();
    HWND hBye = InstallAndWaitForFinish(WalkToInstallStep(false));
    ASSERT_NE(hBye, nullptr);
    ElevationRecord elevation;
    CloseFinishStep(hBye, true);

    std::string sManager = JoinPath(m_Paths.sProgramDir, "QvManag.exe");
    std::vector<DWORD> managers;
    ASSERT_TRUE(
        WaitUntil([&] { return !(managers = ProcessesOf(sManager)).empty(); }, WAIT_TIMEOUT_MS))
        << "the manager was not started from " << sManager;
    EXPECT_EQ(managers.size(), 1u);
    EXPECT_TRUE(
        m_Log.HasMessage("StartProgramAsUser - started with the desktop shell's token: path=" +
                         sManager) ||
        m_Log.HasMessage("StartProgramAsUser - started by the desktop's shell: path=" + sManager));
    EXPECT_EQ(elevation.WaitFor("QvManag.exe", WAIT_TIMEOUT_MS), 0)
        << "the manager runs with the setup's administrator rights";
    HWND hManager = nullptr;
    EXPECT_TRUE(WaitUntil([&]
                          { return (hManager = FindTopWindow(managers[0], nullptr)) != nullptr; },
                          WAIT_TIMEOUT_MS));
    ExpectStartedInItsFolder(managers[0], sManager);
}

TEST_F(InstallTest, ClearedCheckBoxStartsNothing)
{
    MediumOptions options;
    options.iImages = 0;
    MakeMedium(options);
    StartSetup();
    CloseFinishStep(InstallAndWaitForFinish(WalkToInstallStep(false)), false);
    PumpFor(500);
    EXPECT_TRUE(ProcessesOf(JoinPath(m_Paths.sProgramDir, "QvManag.exe")).empty());
}
