// Every text of every dialog fits its control, in every language of the
// language file and in the pseudo-translation (every English text 40 %
// longer in accented letters, made by the translators' tool), at every
// screen scale: each visible control's text is measured with the control's
// font against the room the control draws it in, and no two visible controls
// overlap or leave their dialog. Setup.exe is started anew per language, at
// the DPI the test sets for the prefix.
//
// The room is the test's own reading of how the standard controls draw
// their texts, kept apart from the setup's layout rules, so that a wrong
// allowance there cannot pass here too. With QV_TEXTFIT_SHOTS naming a
// folder, a picture of each dialog is saved there.
#include "Commands.h"
#include "LanguageCatalogue.h"
#include "MessagePump.h"
#include "ScreenShot.h"
#include "SetupE2eTest.h"
#include "TxDpi.h"
#include "TxGdiHandles.h"
#include "WindowQuery.h"
#include "WineScreenDpi.h"

#include <algorithm>
#include <commctrl.h>
#include <cstdio>
#include <map>
#include <sstream>

namespace
{
constexpr int IMAGES = 3;

// The languages the setup lists from sFile, read by its own catalogue.
std::vector<std::string> Languages(const std::string& sFile)
{
    TxCollection list(32, 64);
    TxString sDefault;
    LoadLanguages(list, sDefault, sFile.c_str());
    std::vector<std::string> names;
    for (int i = 0; i < list.GetCount(); ++i)
        names.push_back(static_cast<COneLanguage*>(list.At(i))->sLanguage.GetText());
    return names;
}

// The texts the walk presses in sLanguage of the file read last; a key the
// section lacks keeps its English text, as in the setup.
UiTexts WalkTexts(const std::string& sLanguage)
{
    UiTexts t = EnglishTexts();
    if (!LoadLanguageSection(TxString(sLanguage.c_str())))
        return t;
    auto text = [](const char* pszKey, std::string& sText)
    {
        TxString s(sText.c_str());
        GetLanguageText(pszKey, s);
        sText = s.GetText();
    };
    text("gls_ButtonNext", t.sNext);
    text("gls_ButtonCancel", t.sCancel);
    text("gls_ButtonClose", t.sClose);
    text("gls_ButtonStart", t.sStart);
    text("gls_ButtonOk", t.sOk);
    text("gls_ReadyToInstall", t.sReadyToInstall);
    text("gls_RunManagerNow", t.sRunManagerNow);
    text("gls_NewFolder", t.sNewFolder);
    return t;
}

// The system functions of later Windows versions, looked up where they are.
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

// The DPI a window is drawn for.
int WindowDpi(HWND hWnd)
{
    auto pGetDpi = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    UINT uDpi = pGetDpi != nullptr ? pGetDpi(hWnd) : 0;
    return uDpi != 0 ? static_cast<int>(uDpi) : USER_DEFAULT_SCREEN_DPI;
}

bool Contains(const RECT& outer, const RECT& inner)
{
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
           inner.bottom <= outer.bottom;
}

bool IsGroupBox(HWND hWnd)
{
    return lstrcmpiA(ClassOf(hWnd).c_str(), "Button") == 0 &&
           (GetWindowLongPtrA(hWnd, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

bool IsBuddyOf(HWND hUpDown, HWND hEdit)
{
    return lstrcmpiA(ClassOf(hUpDown).c_str(), UPDOWN_CLASSA) == 0 &&
           reinterpret_cast<HWND>(SendMessageA(hUpDown, UDM_GETBUDDY, 0, 0)) == hEdit;
}

std::string Describe(HWND hWnd, const std::string& sText)
{
    return ClassOf(hWnd) + " \"" + sText.substr(0, 60) + "\"";
}

// Where a control draws its text and how: the room in its client area and
// the DrawText format. No room: the control shows no text to check.
struct TextRoom
{
    bool bText = false;
    RECT rc = {0, 0, 0, 0};
    UINT uFormat = DT_NOPREFIX;
};

// The edit's formatting rectangle, where it draws its text.
RECT EditRoom(HWND hEdit, const RECT& rcClient)
{
    RECT rc = {-1, -1, -1, -1};
    SendMessageA(hEdit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rc));
    if (rc.right > rc.left && rc.bottom > rc.top)
        return rc;
    RECT rcInner = rcClient;
    InflateRect(&rcInner, -2, 0);
    return rcInner;
}

// The room by class and style: what holds both where the controls draw in
// the classic look (as under Wine here) and where they draw with visual
// styles, sizes at 96 DPI scaled to the screen. A push button's text stays 4
// pixels inside every edge (its raised edge, the default button's outline,
// the focus rectangle); a check box's or radio button's text starts after
// its box of 13 pixels and a gap of 6, with a pixel for the focus rectangle
// around it; a group box's caption starts 12 pixels in and ends 3 before the
// frame's right edge; a static uses its whole client area.
TextRoom RoomOf(HWND hWnd, int iDpi)
{
    auto px = [iDpi](int iValue) { return MulDiv(iValue, iDpi, USER_DEFAULT_SCREEN_DPI); };
    TextRoom room;
    GetClientRect(hWnd, &room.rc);
    LONG_PTR lStyle = GetWindowLongPtrA(hWnd, GWL_STYLE);
    std::string sClass = ClassOf(hWnd);
    if (lstrcmpiA(sClass.c_str(), "Static") == 0)
    {
        LONG_PTR lType = lStyle & SS_TYPEMASK;
        if (lType != SS_LEFT && lType != SS_CENTER && lType != SS_RIGHT &&
            lType != SS_LEFTNOWORDWRAP)
            return room;
        room.bText = true;
        room.uFormat = DT_EXPANDTABS | (lType != SS_LEFTNOWORDWRAP ? DT_WORDBREAK : 0) |
                       ((lStyle & SS_NOPREFIX) != 0 ? DT_NOPREFIX : 0);
        return room;
    }
    if (lstrcmpiA(sClass.c_str(), "Edit") == 0)
    {
        room.bText = true;
        room.rc = EditRoom(hWnd, room.rc);
        room.uFormat =
            DT_NOPREFIX | DT_EXPANDTABS |
            ((lStyle & ES_MULTILINE) != 0 ? DT_WORDBREAK | DT_EDITCONTROL : DT_SINGLELINE);
        return room;
    }
    if (lstrcmpiA(sClass.c_str(), "Button") != 0)
        return room;
    room.bText = true;
    room.uFormat = (lStyle & BS_MULTILINE) != 0 ? DT_WORDBREAK : DT_SINGLELINE;
    switch (lStyle & BS_TYPEMASK)
    {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
        InflateRect(&room.rc, -px(4), -px(4));
        break;
    case BS_GROUPBOX:
        room.rc.left += px(12);
        room.rc.right -= px(3);
        room.uFormat = DT_SINGLELINE;
        break;
    default:
        room.rc.left += px(13) + px(6);
        InflateRect(&room.rc, -1, -1);
        break;
    }
    return room;
}

// The size pszText takes in uFormat at most iWidth wide (wrapping formats).
SIZE TextSize(HDC hDc, const std::string& sText, UINT uFormat, int iWidth)
{
    RECT rc = {0, 0, std::max(iWidth, 1), 0};
    DrawTextA(hDc, sText.empty() ? " " : sText.c_str(), -1, &rc, uFormat | DT_CALCRECT);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

// Cut texts, overlaps and controls outside the dialog, one line each; read
// in the screen's pixels.
std::vector<std::string> CheckDialog(HWND hDialog)
{
    std::vector<std::string> faults;
    int iDpi = WindowDpi(hDialog);
    // The dialogs' font and the step title's, as the setup makes them.
    TxFontHandle dialogFont(CreateFontA(-ScaleToDpi(11, iDpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                                        FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                        DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif"));
    TxFontHandle headingFont(CreateFontA(-ScaleToDpi(21, iDpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                                         FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                         DEFAULT_PITCH | FF_DONTCARE, "Arial"));
    TxMemoryDc dc(CreateCompatibleDC(nullptr));

    std::vector<HWND> shown;
    std::map<LRESULT, int> fontUse;
    for (HWND hChild = GetWindow(hDialog, GW_CHILD); hChild != nullptr;
         hChild = GetWindow(hChild, GW_HWNDNEXT))
        if (IsWindowVisible(hChild))
        {
            shown.push_back(hChild);
            ++fontUse[SendMessageA(hChild, WM_GETFONT, 0, 0)];
        }
    // The font most controls share is the dialogs' font; another is the title's.
    LRESULT lDialogFont = 0;
    int iMost = 0;
    for (const auto& use : fontUse)
        if (use.second > iMost)
        {
            lDialogFont = use.first;
            iMost = use.second;
        }

    RECT rcDialog = {0, 0, 0, 0};
    GetClientRect(hDialog, &rcDialog);
    std::vector<RECT> rects;
    for (HWND hChild : shown)
    {
        RECT rc = {0, 0, 0, 0};
        GetWindowRect(hChild, &rc);
        MapWindowPoints(nullptr, hDialog, reinterpret_cast<POINT*>(&rc), 2);
        rects.push_back(rc);
        std::string sText = WindowText(hChild);
        if (!Contains(rcDialog, rc))
            faults.push_back("outside the dialog: " + Describe(hChild, sText));

        bool bTitle = SendMessageA(hChild, WM_GETFONT, 0, 0) != lDialogFont;
        TxSelectObject font(dc.Get(), bTitle ? headingFont.Get() : dialogFont.Get());
        TextRoom room;
        std::vector<std::string> lines;
        if (lstrcmpiA(ClassOf(hChild).c_str(), "ListBox") == 0)
        {
            room.bText = true;
            GetClientRect(hChild, &room.rc);
            InflateRect(&room.rc, -2, 0);
            room.uFormat = DT_SINGLELINE | DT_NOPREFIX;
            lines = ListItems(hChild);
        }
        else
        {
            room = RoomOf(hChild, iDpi);
            lines.push_back(sText);
        }
        if (!room.bText)
            continue;
        int iRoomWidth = room.rc.right - room.rc.left;
        int iRoomHeight = room.rc.bottom - room.rc.top;
        for (const std::string& sLine : lines)
        {
            SIZE need = TextSize(dc.Get(), sLine, room.uFormat, iRoomWidth);
            // A group box's caption lies on its frame, above the room.
            bool bTooHigh = need.cy > iRoomHeight && !IsGroupBox(hChild);
            if (need.cx > iRoomWidth || bTooHigh)
                faults.push_back("cut: " + Describe(hChild, sLine) + " needs " +
                                 std::to_string(need.cx) + "x" + std::to_string(need.cy) +
                                 ", has " + std::to_string(iRoomWidth) + "x" +
                                 std::to_string(iRoomHeight));
        }
    }
    // Neighbours may share the pixel of their edges (the folder edit and its
    // button do at 96 DPI); scaled, that is a pixel or two.
    int iEdge = (iDpi + 95) / 96;
    for (size_t i = 0; i < shown.size(); ++i)
        for (size_t j = i + 1; j < shown.size(); ++j)
        {
            RECT rcBoth;
            if (!IntersectRect(&rcBoth, &rects[i], &rects[j]) ||
                rcBoth.right - rcBoth.left <= iEdge || rcBoth.bottom - rcBoth.top <= iEdge)
                continue;
            // A group box holds its members; a spin edit's arrows lie on its edit.
            if ((IsGroupBox(shown[i]) && Contains(rects[i], rects[j])) ||
                (IsGroupBox(shown[j]) && Contains(rects[j], rects[i])) ||
                IsBuddyOf(shown[i], shown[j]) || IsBuddyOf(shown[j], shown[i]))
                continue;
            faults.push_back("overlap: " + Describe(shown[i], WindowText(shown[i])) + " and " +
                             Describe(shown[j], WindowText(shown[j])));
        }
    return faults;
}

// Set before the scenario makes its first window, which starts the desktop
// of the test's own prefix at that DPI; put back afterwards.
struct ScreenAtTestDpi
{
    WineScreenDpi m_Dpi{static_cast<DWORD>(::testing::WithParamInterface<int>::GetParam())};
};

class TextFitTest : private ScreenAtTestDpi,
                    public SetupE2eTest,
                    public ::testing::WithParamInterface<int>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_View.IsActive()) << "no DPI per thread";
        SetupE2eTest::SetUp();
    }

    struct Row
    {
        std::string sLanguage;
        std::string sDialog;
        size_t nFaults;
        int iDpi;
        RECT rcClient;
    };

    void Check(HWND hDialog, const std::string& sLanguage, const char* pszDialog)
    {
        ASSERT_NE(hDialog, nullptr) << sLanguage << ": no " << pszDialog;
        // What the user sees once the dialog has painted.
        PumpFor(200);
        SaveShot(hDialog, sLanguage, pszDialog);
        std::vector<std::string> faults = CheckDialog(hDialog);
        RECT rcClient = {0, 0, 0, 0};
        GetClientRect(hDialog, &rcClient);
        int iDpi = WindowDpi(hDialog);
        // Drawn for the screen, or the test measures another scale than it names.
        EXPECT_EQ(iDpi, GetParam()) << sLanguage << ", " << pszDialog;
        m_Rows.push_back({sLanguage, pszDialog, faults.size(), iDpi, rcClient});
        for (const std::string& sFault : faults)
        {
            std::printf("textfit %d %s %s: %s\n", GetParam(), sLanguage.c_str(), pszDialog,
                        sFault.c_str());
            ADD_FAILURE() << sLanguage << ", " << pszDialog << ": " << sFault;
        }
    }

    void SaveShot(HWND hDialog, const std::string& sLanguage, const char* pszDialog)
    {
        char szFolder[MAX_PATH] = "";
        if (GetEnvironmentVariableA("QV_TEXTFIT_SHOTS", szFolder, sizeof(szFolder)) == 0)
            return;
        SaveWindowShot(hDialog, JoinPath(szFolder, std::to_string(GetParam()) + "-" + sLanguage +
                                                       "-" + pszDialog + ".bmp"));
    }

    void WalkLanguage(const std::string& sLanguage)
    {
        UiTexts texts = WalkTexts(sLanguage);
        m_Wizard.SetTexts(texts);
        StartSetup();
        HWND hWelcome = m_Wizard.WaitForStep(WELCOME_CLASS);
        ASSERT_NE(hWelcome, nullptr) << "no welcome step";
        ASSERT_TRUE(PickListItem(FindChild(hWelcome, "ListBox", ""), sLanguage)) << sLanguage;
        ASSERT_NE(m_Wizard.Button(hWelcome, texts.sNext), nullptr)
            << sLanguage << ": the language did not switch";
        Check(hWelcome, sLanguage, "welcome");
        HWND hOptions = m_Wizard.PressAndWait(hWelcome, texts.sNext, OPTIONS_CLASS);
        Check(hOptions, sLanguage, "options");

        HWND hTree = m_Wizard.PressAndWait(hOptions, "...", TREE_CLASS);
        Check(hTree, sLanguage, "folders");
        HWND hNewFolder = m_Wizard.PressAndWait(hTree, texts.sNewFolder, NEW_FOLDER_CLASS);
        Check(hNewFolder, sLanguage, "new folder");
        ASSERT_NE(m_Wizard.PressAndWait(hNewFolder, texts.sCancel, TREE_CLASS), nullptr);
        ASSERT_NE(m_Wizard.PressAndWait(hTree, texts.sCancel, OPTIONS_CLASS), nullptr);

        HWND hImages = m_Wizard.PressAndWait(hOptions, texts.sNext, IMAGES_CLASS);
        Check(hImages, sLanguage, "images");
        ASSERT_TRUE(m_Wizard.Press(hImages, texts.sNext));
        HWND hInstall = m_Wizard.WaitForInstallStep();
        Check(hInstall, sLanguage, "install");
        HWND hBye = InstallAndWaitForFinish(hInstall);
        Check(hBye, sLanguage, "finish");
        CloseFinishStep(hBye, false);
        RemoveProduct(m_Paths);
    }

    ScreenPixelsView m_View;
    std::vector<Row> m_Rows;
};

TEST_P(TextFitTest, EveryTextFitsInEveryLanguage)
{
    std::string sShipped = SourcePath("media\\SetupLang.dat");
    std::vector<std::string> shipped = Languages(sShipped);
    ASSERT_FALSE(shipped.empty());
    MediumOptions options;
    options.iImages = IMAGES;
    MakeMedium(options);
    // The shipped languages and the pseudo-translation, in one file.
    std::string sFile = MediumFile("SetupLang.dat");
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunSetupLang({"pseudo", "--append", sShipped, "-o", sFile}, out, err), 0)
        << err.str();

    std::vector<std::string> languages = Languages(sFile);
    EXPECT_EQ(languages.size(), shipped.size() + 1) << "no pseudo-translation";
    for (const std::string& sLanguage : languages)
    {
        WalkLanguage(sLanguage);
        if (HasFatalFailure())
            return;
    }

    std::printf("textfit table, %d DPI: language, dialog (its DPI and client size) -> cut texts "
                "and layout faults\n",
                GetParam());
    for (const Row& row : m_Rows)
        std::printf("textfit-row %d | %-12s | %-10s | %3d dpi %4ldx%-4ld | %zu\n", GetParam(),
                    row.sLanguage.c_str(), row.sDialog.c_str(), row.iDpi, row.rcClient.right,
                    row.rcClient.bottom, row.nFaults);
}

INSTANTIATE_TEST_SUITE_P(Dpi, TextFitTest, ::testing::Values(96, 120, 144, 192),
                         [](const ::testing::TestParamInfo<int>& info)
                         { return std::to_string(info.param); });
} // namespace
