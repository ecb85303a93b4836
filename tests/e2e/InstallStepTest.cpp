// The install step: Stop while copying, and the checks that keep Start
// disabled.
#include "InstallExpectations.h"
#include "MessagePump.h"
#include "SetupE2eTest.h"
#include "WindowQuery.h"

class InstallStepTest : public SetupE2eTest
{
protected:
    int CopiedFiles() const
    {
        int iCount = 0;
        for (int i = m_Log.Find("Copying "); i >= 0; i = m_Log.Find("Copying ", i + 1))
            ++iCount;
        return iCount;
    }

    void ExpectStopQuestion(const MessageBoxInfo& box)
    {
        const UiTexts& t = m_Wizard.Texts();
        ASSERT_NE(box.hWnd, nullptr) << "no stop question";
        EXPECT_EQ(box.sCaption, t.sStopRequested);
        EXPECT_EQ(box.sText, t.sWantToCancel);
        EXPECT_EQ(box.buttons, (std::vector<int>{IDYES, IDNO}));
        EXPECT_EQ(DefaultButton(box), IDYES);
        // Copying waits while the question is open.
        int iCopied = CopiedFiles();
        EXPECT_GE(iCopied, 1);
        EXPECT_LT(iCopied, 33);
        PumpFor(200);
        EXPECT_EQ(CopiedFiles(), iCopied);
    }

    // Answers a check's box and expects Start disabled afterwards.
    void ExpectCheckBox(const std::string& sCaption, const std::string& sText)
    {
        MessageBoxInfo box = m_Wizard.WaitForBox();
        ASSERT_NE(box.hWnd, nullptr) << "no box " << sCaption;
        EXPECT_EQ(box.sCaption, sCaption);
        EXPECT_EQ(box.sText, sText);
        EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
        ASSERT_TRUE(Answer(box, IDOK));
    }

    void ExpectNotReady(HWND hInstall)
    {
        const UiTexts& t = m_Wizard.Texts();
        ASSERT_EQ(m_Wizard.WaitForStep(INSTALL_CLASS), hInstall);
        EXPECT_EQ(m_Wizard.Title(hInstall), t.sNotReadyToInstall);
        HWND hStart = m_Wizard.Button(hInstall, t.sStart);
        ASSERT_NE(hStart, nullptr);
        EXPECT_FALSE(IsWindowEnabled(hStart));
        EXPECT_TRUE(IsUsable(m_Wizard.Button(hInstall, t.sPrevious)));
    }
};

TEST_F(InstallStepTest, StopAnsweredNoGoesOnCopying)
{
    MakeMedium();
    StartSetup();
    HWND hInstall = WalkToInstallStep(true);
    MessageBoxInfo box = StartAndStop(hInstall);
    ExpectStopQuestion(box);
    ASSERT_TRUE(Answer(box, IDNO));
    // Enter presses Stop again.
    HWND hStop = m_Wizard.Button(hInstall, m_Wizard.Texts().sStop);
    EXPECT_EQ(WaitForFocus(hInstall, hStop), hStop);

    HWND hBye = m_Wizard.WaitForStep(BYE_CLASS, 60000);
    ASSERT_NE(hBye, nullptr);
    EXPECT_TRUE(ShowsText(hBye, "Static", m_Wizard.Texts().sSetupSuccessful));
    CloseFinishStep(hBye, false);
    EXPECT_EQ(CopiedFiles(), 33);
    ExpectProgramFiles(m_Paths, "ENGLISH");
    ExpectSystemConfiguration(m_Paths, true);
}

TEST_F(InstallStepTest, StopAnsweredYesRollsEverythingBack)
{
    MakeMedium();
    StartSetup();
    MessageBoxInfo box = StartAndStop(WalkToInstallStep(true));
    ExpectStopQuestion(box);
    ASSERT_TRUE(Answer(box, IDYES));

    HWND hBye = m_Wizard.WaitForStep(BYE_CLASS, 60000);
    ASSERT_NE(hBye, nullptr);
    const UiTexts& t = m_Wizard.Texts();
    EXPECT_TRUE(ShowsText(hBye, "Static", t.sSetupUnsuccessful));
    EXPECT_EQ(FindChild(hBye, "Button", t.sRunManagerNow), nullptr) << "check box shown";
    // The show handler has rolled back before the step became visible.
    EXPECT_TRUE(ProductTraces(m_Paths).empty());
    CloseFinishStep(hBye, true, 1602);
    EXPECT_TRUE(ProductTraces(m_Paths).empty());
    EXPECT_GE(m_Log.Find("RollBack"), 0);
    EXPECT_LT(m_Log.Find("TFormStepBye::SaveUninstallInfo"), 0);
    EXPECT_TRUE(ProcessesOf(JoinPath(m_Paths.sProgramDir, "QvManag.exe")).empty());
}

TEST_F(InstallStepTest, NotEnoughSpaceKeepsStartDisabled)
{
    MediumOptions options;
    options.iImages = 1;
    // Far more than the disk holds; the random choice proposes all images.
    options.qwHugeImage = 1ull << 40;
    MakeMedium(options);
    StartSetup();
    HWND hInstall = WalkToInstallStep(true);
    ASSERT_NE(hInstall, nullptr);
    ExpectCheckBox("Cannot install", "There is not enough free space on the destination disk.");
    ExpectNotReady(hInstall);
    EXPECT_TRUE(ShowsText(hInstall, "Static",
                          "The Setup cannot start the installation. Press the \"Previous\" button "
                          "to correct installation options."));
    ConfirmCancelAndExit(hInstall);
    EXPECT_TRUE(ProductTraces(m_Paths).empty());
}

TEST_F(InstallStepTest, FailedRightsProbeKeepsStartDisabledUntilCorrected)
{
    const UiTexts& t = m_Wizard.Texts();
    HWND hOptions = StartAtOptionsStep(0);
    ASSERT_NE(hOptions, nullptr);
    // No drive Q: in the prefix: no folder can be made there.
    const std::string sNoRights = "Q:\\Quorvane";
    ASSERT_TRUE(TypeText(FindChild(hOptions, "Edit", m_Paths.sProgramDir), sNoRights));
    ASSERT_TRUE(m_Wizard.Press(hOptions, t.sNext));
    HWND hInstall = m_Wizard.WaitForInstallStep();
    ASSERT_NE(hInstall, nullptr);
    ExpectCheckBox("Insufficient rights",
                   "Cannot create folders in " + sNoRights +
                       ". Be sure you run this setup program with sufficient (administrator) "
                       "rights.");
    // The space check runs as well; a drive that is not there has no room.
    MessageBoxInfo box = m_Wizard.WaitForBox(2000);
    if (box.hWnd != nullptr)
    {
        EXPECT_EQ(box.sCaption, "Cannot install");
        ASSERT_TRUE(Answer(box, IDOK));
    }
    ExpectNotReady(hInstall);

    // Back, a folder that can be made, and the checks pass on the next showing.
    hOptions = m_Wizard.PressAndWait(hInstall, t.sPrevious, OPTIONS_CLASS);
    ASSERT_NE(hOptions, nullptr);
    ASSERT_TRUE(TypeText(FindChild(hOptions, "Edit", sNoRights), m_Paths.sProgramDir));
    ASSERT_TRUE(m_Wizard.Press(hOptions, t.sNext));
    hInstall = m_Wizard.WaitForInstallStep();
    ASSERT_NE(hInstall, nullptr);
    EXPECT_FALSE(HasMessageBox(m_Wizard.ProcessId()));
    EXPECT_EQ(m_Wizard.Title(hInstall), t.sReadyToInstall);
    EXPECT_TRUE(IsUsable(m_Wizard.Button(hInstall, t.sStart)));
    ConfirmCancelAndExit(hInstall);
    EXPECT_TRUE(ProductTraces(m_Paths).empty());
}
