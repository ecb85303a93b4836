// Moving through the wizard without installing: the language list, the way
// back, and cancelling on every step.
#include "MessagePump.h"
#include "SetupE2eTest.h"
#include "WindowQuery.h"

#include <algorithm>

class NavigationTest : public SetupE2eTest
{
protected:
    void SetUp() override
    {
        SetupE2eTest::SetUp();
        MakeMedium();
        StartSetup();
    }

    void TearDown() override
    {
        // Nothing was installed, and the rights probe cleaned up after itself.
        EXPECT_TRUE(ProductTraces(m_Paths).empty());
        SetupE2eTest::TearDown();
    }
};

TEST_F(NavigationTest, ClickingALanguageRecaptionsTheOpenDialog)
{
    HWND hWelcome = m_Wizard.WaitForStep(WELCOME_CLASS);
    ASSERT_NE(hWelcome, nullptr);
    HWND hList = FindChild(hWelcome, "ListBox", "");
    ASSERT_NE(hList, nullptr);
    std::vector<std::string> languages = ListItems(hList);
    EXPECT_GE(languages.size(), 2u);
    EXPECT_TRUE(std::is_sorted(languages.begin(), languages.end(),
                               [](const std::string& a, const std::string& b)
                               { return lstrcmpiA(a.c_str(), b.c_str()) < 0; }))
        << "the list is not sorted";

    ASSERT_TRUE(PickListItem(hList, "Deutsch"));
    const UiTexts& de = GermanTexts();
    EXPECT_EQ(m_Wizard.Title(hWelcome), de.sWelcome);
    EXPECT_EQ(WindowText(hWelcome), de.sCaption);
    for (const std::string* pButton : {&de.sNext, &de.sCancel})
        EXPECT_NE(m_Wizard.Button(hWelcome, *pButton), nullptr) << *pButton;
    EXPECT_TRUE(ShowsText(hWelcome, "Static", "Sprache ausw\xE4hlen:"));
    EXPECT_TRUE(m_Log.HasMessage(
        "Switching to language: g_sLanguage=Deutsch, g_LangId=7, g_sLangEName=GERMAN"));

    // The next dialog comes up in the new language as well.
    m_Wizard.SetTexts(de);
    HWND hOptions = m_Wizard.PressAndWait(hWelcome, de.sNext, OPTIONS_CLASS);
    ASSERT_NE(hOptions, nullptr);
    EXPECT_EQ(m_Wizard.Title(hOptions), de.sInstallOptions);
    hWelcome = m_Wizard.PressAndWait(hOptions, de.sPrevious, WELCOME_CLASS);
    ASSERT_NE(hWelcome, nullptr);
    EXPECT_EQ(SelectedListItem(hList), "Deutsch") << "the choice was not kept";

    ASSERT_TRUE(PickListItem(hList, "English"));
    EXPECT_EQ(m_Wizard.Title(hWelcome), EnglishTexts().sWelcome);
    m_Wizard.SetTexts(EnglishTexts());
    ConfirmCancelAndExit(hWelcome);
}

TEST_F(NavigationTest, PreviousWalksBackStepByStep)
{
    const UiTexts& t = m_Wizard.Texts();
    HWND hInstall = WalkToInstallStep(true);
    ASSERT_NE(hInstall, nullptr);
    HWND hImages = m_Wizard.PressAndWait(hInstall, t.sPrevious, IMAGES_CLASS);
    ASSERT_NE(hImages, nullptr);
    HWND hOptions = m_Wizard.PressAndWait(hImages, t.sPrevious, OPTIONS_CLASS);
    ASSERT_NE(hOptions, nullptr);
    HWND hWelcome = m_Wizard.PressAndWait(hOptions, t.sPrevious, WELCOME_CLASS);
    ASSERT_NE(hWelcome, nullptr);
    EXPECT_EQ(m_Wizard.Title(hWelcome), t.sWelcome);
    ConfirmCancelAndExit(hWelcome);
}

TEST_F(NavigationTest, FocusComesBackFromTheFolderChooser)
{
    const UiTexts& t = m_Wizard.Texts();
    HWND hOptions =
        m_Wizard.PressAndWait(m_Wizard.WaitForStep(WELCOME_CLASS), t.sNext, OPTIONS_CLASS);
    ASSERT_NE(hOptions, nullptr);
    for (const std::string& sButton : {t.sOk, t.sCancel})
    {
        SCOPED_TRACE(sButton);
        HWND hTree = m_Wizard.PressAndWait(hOptions, "...", TREE_CLASS);
        ASSERT_NE(hTree, nullptr);
        ASSERT_EQ(m_Wizard.PressAndWait(hTree, sButton, OPTIONS_CLASS), hOptions);
        HWND hBrowse = m_Wizard.Button(hOptions, "...");
        EXPECT_EQ(WaitForFocus(hOptions, hBrowse), hBrowse);
    }
    ConfirmCancelAndExit(hOptions);
}

// Cancel on each step: No keeps the dialog as it was, Yes ends the setup.
class CancelTest : public NavigationTest, public ::testing::WithParamInterface<const char*>
{
protected:
    HWND WalkTo(const char* pszClass)
    {
        const UiTexts& t = m_Wizard.Texts();
        HWND hStep = m_Wizard.WaitForStep(WELCOME_CLASS);
        for (const char* pszStep : {OPTIONS_CLASS, IMAGES_CLASS})
        {
            if (hStep == nullptr || lstrcmpA(ClassOf(hStep).c_str(), pszClass) == 0)
                return hStep;
            hStep = m_Wizard.PressAndWait(hStep, t.sNext, pszStep);
        }
        if (hStep == nullptr || lstrcmpA(ClassOf(hStep).c_str(), pszClass) == 0)
            return hStep;
        return m_Wizard.Press(hStep, t.sNext) ? m_Wizard.WaitForInstallStep() : nullptr;
    }
};

TEST_P(CancelTest, NoKeepsTheStepAndYesEndsTheSetup)
{
    const UiTexts& t = m_Wizard.Texts();
    HWND hStep = WalkTo(GetParam());
    ASSERT_NE(hStep, nullptr) << GetParam();
    std::string sTitle = m_Wizard.Title(hStep);

    ASSERT_TRUE(m_Wizard.Press(hStep, t.sCancel));
    MessageBoxInfo box = m_Wizard.WaitForBox();
    ASSERT_NE(box.hWnd, nullptr) << "no cancel question";
    EXPECT_EQ(box.sCaption, t.sCancelRequest);
    EXPECT_EQ(box.sText, t.sWantToCancel);
    EXPECT_EQ(box.buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(DefaultButton(box), IDNO) << "No is not the default";
    ASSERT_TRUE(Answer(box, IDNO));

    EXPECT_EQ(m_Wizard.WaitForStep(GetParam()), hStep) << "the step did not stay open";
    // The keyboard goes on where it was: on the button that was pressed.
    HWND hCancel = m_Wizard.Button(hStep, t.sCancel);
    EXPECT_EQ(WaitForFocus(hStep, hCancel), hCancel);
    EXPECT_EQ(m_Wizard.Title(hStep), sTitle);
    EXPECT_TRUE(m_Wizard.IsRunning());
    ConfirmCancelAndExit(hStep);
    EXPECT_LT(m_Log.Find("TFormStepBye"), 0) << "the finish step ran";
}

INSTANTIATE_TEST_SUITE_P(EachStep, CancelTest,
                         ::testing::Values(WELCOME_CLASS, OPTIONS_CLASS, IMAGES_CLASS,
                                           INSTALL_CLASS),
                         [](const ::testing::TestParamInfo<const char*>& info)
                         { return std::string(info.param + 9); });
