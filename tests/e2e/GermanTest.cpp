// Runs under LC_ALL=de_DE.UTF-8, where Wine reports the system language
// 0x0407: the setup starts in German and exports German texts.
#include "InstallExpectations.h"
#include "SetupE2eTest.h"
#include "WindowQuery.h"

class GermanSystemTest : public SetupE2eTest
{
protected:
    void SetUp() override
    {
        if (PRIMARYLANGID(GetSystemDefaultLangID()) != LANG_GERMAN)
            GTEST_SKIP() << "the system language is not German; run under LC_ALL=de_DE.UTF-8";
        SetupE2eTest::SetUp();
        m_Wizard.SetTexts(GermanTexts());
    }
};

TEST_F(GermanSystemTest, GermanIsPreselectedShownAndExported)
{
    MediumOptions options;
    options.iImages = 0;
    MakeMedium(options);
    StartSetup();
    const UiTexts& de = GermanTexts();

    HWND hWelcome = m_Wizard.WaitForStep(WELCOME_CLASS);
    ASSERT_NE(hWelcome, nullptr);
    EXPECT_EQ(SelectedListItem(FindChild(hWelcome, "ListBox", "")), "Deutsch");
    EXPECT_EQ(m_Wizard.Title(hWelcome), de.sWelcome);
    EXPECT_EQ(WindowText(hWelcome), de.sCaption);
    EXPECT_TRUE(m_Log.HasMessage("System language found: Deutsch"));

    // The cancel question speaks German too.
    ASSERT_TRUE(m_Wizard.Press(hWelcome, de.sCancel));
    MessageBoxInfo box = m_Wizard.WaitForBox();
    ASSERT_NE(box.hWnd, nullptr);
    EXPECT_EQ(box.sCaption, de.sCancelRequest);
    EXPECT_EQ(box.sText, de.sWantToCancel);
    ASSERT_TRUE(Answer(box, IDNO));

    HWND hOptions = m_Wizard.PressAndWait(hWelcome, de.sNext, OPTIONS_CLASS);
    ASSERT_NE(hOptions, nullptr);
    EXPECT_EQ(m_Wizard.Title(hOptions), de.sInstallOptions);
    EXPECT_NE(m_Wizard.Button(hOptions, de.sPrevious), nullptr);
    ASSERT_TRUE(m_Wizard.Press(hOptions, de.sNext));
    HWND hInstall = m_Wizard.WaitForInstallStep();
    ASSERT_NE(hInstall, nullptr);
    EXPECT_NE(m_Wizard.Button(hInstall, de.sStart), nullptr);
    HWND hBye = InstallAndWaitForFinish(hInstall);
    ASSERT_NE(hBye, nullptr);
    EXPECT_EQ(m_Wizard.Title(hBye), de.sSetupComplete);
    EXPECT_TRUE(ShowsText(hBye, "Static", de.sSetupSuccessful));
    CloseFinishStep(hBye, false);

    // The German variants are installed under the plain names.
    ExpectProgramFiles(m_Paths, "GERMAN");
    ExpectLanguageExport("Deutsch", "GERMAN", 7, "Abbrechen");
    std::string sName;
    EXPECT_TRUE(ReadRegString(UNINSTALL_KEY, "DisplayName", sName));
    EXPECT_EQ(sName, "Quorvane 1.04");
}
