// The setup on a screen of 144 DPI: every dialog is drawn for the screen,
// its 96-DPI places and sizes scaled with MulDiv's rounding, its fonts and
// the logo at scale, the background's bands on the screen's real height.
#include "MessagePump.h"
#include "SetupE2eTest.h"
#include "WindowQuery.h"
#include "WineScreenDpi.h"

namespace
{
constexpr int TEST_DPI = 144;

int Px(int iValue)
{
    return MulDiv(iValue, TEST_DPI, USER_DEFAULT_SCREEN_DPI);
}

// A control's place in its dialog's client area, as left, top, width, height.
struct Bounds
{
    int iLeft, iTop, iWidth, iHeight;
    bool operator==(const Bounds& other) const
    {
        return iLeft == other.iLeft && iTop == other.iTop && iWidth == other.iWidth &&
               iHeight == other.iHeight;
    }
};

std::ostream& operator<<(std::ostream& out, const Bounds& b)
{
    return out << b.iLeft << "," << b.iTop << " " << b.iWidth << "x" << b.iHeight;
}

Bounds Scaled(const Bounds& b)
{
    return {Px(b.iLeft), Px(b.iTop), Px(b.iWidth), Px(b.iHeight)};
}

Bounds ControlBounds(HWND hControl)
{
    RECT rc = {0, 0, 0, 0};
    GetWindowRect(hControl, &rc);
    MapWindowPoints(nullptr, GetParent(hControl), reinterpret_cast<POINT*>(&rc), 2);
    return {rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
}

SIZE ClientSize(HWND hWnd)
{
    RECT rc = {0, 0, 0, 0};
    GetClientRect(hWnd, &rc);
    return {rc.right, rc.bottom};
}

HWND FirstOfClass(HWND hParent, const char* pszClass)
{
    for (HWND hChild : Children(hParent))
        if (lstrcmpiA(ClassOf(hChild).c_str(), pszClass) == 0 && IsShown(hChild))
            return hChild;
    return nullptr;
}

HWND FindLogo(HWND hMain)
{
    for (HWND hChild : Children(hMain))
        if ((GetWindowLongPtrA(hChild, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP)
            return hChild;
    return nullptr;
}

// The blue of the background at a row of the main form's client area.
int BackgroundBlue(HWND hMain, int iX, int iY)
{
    POINT pt = {iX, iY};
    ClientToScreen(hMain, &pt);
    HDC hScreen = GetDC(nullptr);
    COLORREF colour = GetPixel(hScreen, pt.x, pt.y);
    ReleaseDC(nullptr, hScreen);
    return colour == CLR_INVALID ? -1 : GetBValue(colour);
}
} // namespace

// Set before the scenario makes its first window, which starts the prefix's
// desktop (the test runs in a prefix of its own); put back afterwards.
struct ScreenAtTestDpi
{
    WineScreenDpi m_Dpi{TEST_DPI};
};

class ScreenDpiTest : private ScreenAtTestDpi, public SetupE2eTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_View.IsActive()) << "no DPI per thread";
        SetupE2eTest::SetUp();
    }

    void ExpectClientSize(HWND hWnd, int iWidth, int iHeight, const char* pszWhat)
    {
        SIZE size = ClientSize(hWnd);
        EXPECT_EQ(size.cx, Px(iWidth)) << pszWhat;
        EXPECT_EQ(size.cy, Px(iHeight)) << pszWhat;
    }

    // Set before the setup starts and put back after the scenario.
    ScreenPixelsView m_View;
};

TEST_F(ScreenDpiTest, DialogsFontsLogoAndBackgroundFollowTheScreen)
{
    MakeMedium();
    StartSetup();
    const UiTexts& t = m_Wizard.Texts();
    HWND hWelcome = m_Wizard.WaitForStep(WELCOME_CLASS);
    ASSERT_NE(hWelcome, nullptr);
    ExpectClientSize(hWelcome, 552, 273, "welcome step");
    EXPECT_EQ(m_Wizard.Title(hWelcome), t.sWelcome);
    EXPECT_EQ(ControlBounds(m_Wizard.Button(hWelcome, t.sNext)), Scaled({341, 240, 100, 25}));
    EXPECT_EQ(ControlBounds(m_Wizard.Button(hWelcome, t.sCancel)), Scaled({445, 240, 100, 25}));
    EXPECT_EQ(ControlBounds(FindChild(hWelcome, "ListBox", "")), Scaled({12, 56, 121, 89}));
    // Labels take the height of their text: the fonts are made for the DPI.
    EXPECT_GE(ControlBounds(FindChild(hWelcome, "Static", t.sWelcome)).iHeight, Px(21));
    EXPECT_GE(ControlBounds(FindChild(hWelcome, "Static", "Select language:")).iHeight, Px(11));

    HWND hMain = FindTopWindow(m_Wizard.ProcessId(), MAIN_CLASS);
    ASSERT_NE(hMain, nullptr);
    EXPECT_EQ(ControlBounds(FindLogo(hMain)), Scaled({16, 16, 200, 169}));
    // Bands of (height div 256 + 1) real pixels, black at the top; the right
    // edge lies beside the dialog.
    SIZE background = ClientSize(hMain);
    int iHeight = static_cast<int>(background.cy);
    int iBand = iHeight / 256 + 1;
    int iX = static_cast<int>(background.cx) - 2;
    for (int iY : {0, iBand * 100, iBand * 200 + iBand - 1, iHeight - 1})
    {
        int iBlue = -1;
        WaitUntil([&] { return (iBlue = BackgroundBlue(hMain, iX, iY)) == iY / iBand; }, 5000);
        EXPECT_EQ(iBlue, iY / iBand) << "row " << iY;
    }

    HWND hOptions = m_Wizard.PressAndWait(hWelcome, t.sNext, OPTIONS_CLASS);
    ASSERT_NE(hOptions, nullptr);
    ExpectClientSize(hOptions, 552, 273, "options step");
    EXPECT_EQ(ControlBounds(FirstOfClass(hOptions, "Edit")), Scaled({24, 159, 449, 21}));
    EXPECT_EQ(ControlBounds(FindChild(hOptions, "Button", "...")), Scaled({472, 159, 59, 21}));

    HWND hTree = m_Wizard.PressAndWait(hOptions, "...", TREE_CLASS);
    ASSERT_NE(hTree, nullptr);
    RECT rcTree = {0, 0, 0, 0};
    GetWindowRect(hTree, &rcTree);
    EXPECT_EQ(rcTree.right - rcTree.left, Px(300)) << "folder chooser";
    EXPECT_EQ(rcTree.bottom - rcTree.top, Px(390)) << "folder chooser";
    HWND hNewFolder = m_Wizard.PressAndWait(hTree, "New folder", NEW_FOLDER_CLASS);
    ASSERT_NE(hNewFolder, nullptr);
    ExpectClientSize(hNewFolder, 297, 56, "new-folder dialog");
    EXPECT_EQ(ControlBounds(FindChild(hNewFolder, "Edit", "")), Scaled({3, 4, 291, 21}));
    ASSERT_NE(m_Wizard.PressAndWait(hNewFolder, t.sCancel, TREE_CLASS), nullptr);
    ASSERT_NE(m_Wizard.PressAndWait(hTree, t.sCancel, OPTIONS_CLASS), nullptr);
    ConfirmCancelAndExit(hOptions);
}
