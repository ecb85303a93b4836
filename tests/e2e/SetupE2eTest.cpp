#include "SetupE2eTest.h"

#include "MessagePump.h"
#include "WindowQuery.h"

#include <cstdio>

namespace
{
constexpr DWORD EXIT_TIMEOUT_MS = 15000;
constexpr DWORD INSTALL_TIMEOUT_MS = 60000;
} // namespace

SetupE2eTest::SetupE2eTest()
    : m_Paths(ProductPaths::Defaults()), m_Work("qve2e-"), m_sMedium(m_Work / "medium"),
      m_sCurrentFolder(m_Work / "cwd")
{
}

void SetupE2eTest::SetUp()
{
    ASSERT_TRUE(m_Log.IsOpen()) << "the log receiver window could not be created";
    // A run that was killed may have left an installation behind.
    RemoveProduct(m_Paths);
    ASSERT_TRUE(ProductTraces(m_Paths).empty());
    ASSERT_TRUE(MakeFolders(m_sCurrentFolder));
}

void SetupE2eTest::TearDown()
{
    // The setup's own account of a failed scenario.
    if (HasFailure())
        for (const std::string& sLine : m_Log.Lines())
            std::printf("log: %s\n", sLine.c_str());
    m_Wizard.Process().Kill();
    // Lines still on their way must not reach a receiver that is gone.
    PumpMessages();
    RemoveProduct(m_Paths, m_ExtraFolders);
    std::vector<std::string> traces = ProductTraces(m_Paths);
    EXPECT_TRUE(traces.empty()) << "left in the prefix: " << (traces.empty() ? "" : traces[0]);
}

void SetupE2eTest::MakeMedium(const MediumOptions& options)
{
    std::string sError;
    ASSERT_TRUE(PrepareMedium(m_sMedium, options, sError)) << sError;
}

void SetupE2eTest::StartSetup()
{
    ASSERT_TRUE(m_Wizard.Start(MediumFile("Setup.exe"), m_sCurrentFolder))
        << "cannot start " << MediumFile("Setup.exe");
}

HWND SetupE2eTest::StartAtOptionsStep(int iImages)
{
    MediumOptions options;
    options.iImages = iImages;
    MakeMedium(options);
    StartSetup();
    HWND hOptions = m_Wizard.PressAndWait(m_Wizard.WaitForStep(WELCOME_CLASS),
                                          m_Wizard.Texts().sNext, OPTIONS_CLASS);
    EXPECT_NE(hOptions, nullptr) << "no options step";
    return hOptions;
}

HWND SetupE2eTest::WalkToInstallStep(bool bImages)
{
    const UiTexts& t = m_Wizard.Texts();
    HWND hWelcome = m_Wizard.WaitForStep(WELCOME_CLASS);
    EXPECT_NE(hWelcome, nullptr) << "no welcome step";
    HWND hOptions = m_Wizard.PressAndWait(hWelcome, t.sNext, OPTIONS_CLASS);
    EXPECT_NE(hOptions, nullptr) << "no options step";
    HWND hNext = hOptions;
    if (bImages)
    {
        hNext = m_Wizard.PressAndWait(hOptions, t.sNext, IMAGES_CLASS);
        EXPECT_NE(hNext, nullptr) << "no images step";
    }
    if (!m_Wizard.Press(hNext, t.sNext))
        ADD_FAILURE() << "Next is not usable";
    HWND hInstall = m_Wizard.WaitForInstallStep();
    EXPECT_NE(hInstall, nullptr) << "no install step";
    return hInstall;
}

HWND SetupE2eTest::InstallAndWaitForFinish(HWND hInstall)
{
    EXPECT_TRUE(m_Wizard.Press(hInstall, m_Wizard.Texts().sStart)) << "Start is not usable";
    HWND hBye = nullptr;
    MessageBoxInfo box;
    // A box instead of the finish step is reported at once.
    WaitUntil(
        [&]
        {
            hBye = m_Wizard.WaitForStep(BYE_CLASS, 0);
            box = m_Wizard.WaitForBox(0);
            return hBye != nullptr || box.hWnd != nullptr;
        },
        INSTALL_TIMEOUT_MS);
    EXPECT_EQ(box.hWnd, nullptr) << "box during the installation: " << box.sCaption << ": "
                                 << box.sText;
    EXPECT_NE(hBye, nullptr) << "no finish step";
    return hBye;
}

MessageBoxInfo SetupE2eTest::StartAndStop(HWND hInstall)
{
    const UiTexts& t = m_Wizard.Texts();
    EXPECT_TRUE(ClickAndWait(m_Wizard.Button(hInstall, t.sStart)));
    EXPECT_TRUE(Click(m_Wizard.Button(hInstall, t.sStop))) << "Stop is not usable";
    return m_Wizard.WaitForBox();
}

void SetupE2eTest::CloseFinishStep(HWND hBye, bool bRunManager, DWORD dwExitCode)
{
    HWND hCheck = FindChild(hBye, "Button", m_Wizard.Texts().sRunManagerNow);
    if (hCheck != nullptr && IsChecked(hCheck) != bRunManager)
    {
        ASSERT_TRUE(ClickAndWait(hCheck));
    }
    ASSERT_TRUE(m_Wizard.Press(hBye, m_Wizard.Texts().sClose));
    ExpectSetupEnded(dwExitCode);
}

void SetupE2eTest::ConfirmCancelAndExit(HWND hStep)
{
    ASSERT_TRUE(m_Wizard.Press(hStep, m_Wizard.Texts().sCancel));
    MessageBoxInfo box = m_Wizard.WaitForBox();
    ASSERT_NE(box.hWnd, nullptr) << "no cancel question";
    EXPECT_EQ(box.sCaption, m_Wizard.Texts().sCancelRequest);
    ASSERT_TRUE(Answer(box, IDYES));
    ExpectSetupEnded(1602);
}

void SetupE2eTest::ExpectSetupEnded(DWORD dwExitCode)
{
    ASSERT_TRUE(m_Wizard.WaitForExit(EXIT_TIMEOUT_MS)) << "the setup did not end";
    EXPECT_EQ(m_Wizard.Process().ExitCode(), dwExitCode);
}
