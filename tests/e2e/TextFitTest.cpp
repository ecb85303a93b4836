// Every text of every dialog fits its control, in every language of the
// language file and at every screen scale: each visible control's text is
// measured with the control's font and wrap rule against its client area,
// and no two visible controls overlap or leave their dialog. Setup.exe is
// started anew per language, at the DPI the test sets for the prefix.
//
// The pseudo-translation (every English text 40 % longer in accented
// letters, made by the translators' tool) is walked too; its cuts are
// printed, not asserted. With QV_TEXTFIT_SHOTS naming a folder, a picture
// of each dialog is saved there.
#include "Commands.h"
#include "LanguageCatalogue.h"
#include "MessagePump.h"
#include "ScreenShot.h"
#include "SetupE2eTest.h"
#include "TxDpi.h"
#include "TxGdiHandles.h"
#include "TxTextFit.h"
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
        LONG_PTR lStyle = GetWindowLongPtrA(hChild, GWL_STYLE);
        TxTextRule rule = TextRuleOf(hChild, lStyle, dc.Get(), iDpi);
        RECT rcClient = {0, 0, 0, 0};
        GetClientRect(hChild, &rcClient);
        int iRoomWidth = rcClient.right - rule.iChromeWidth;
        int iRoomHeight = rcClient.bottom - rule.iChromeHeight;
        std::vector<std::string> lines;
        if (lstrcmpiA(ClassOf(hChild).c_str(), "ListBox") == 0)
            lines = ListItems(hChild);
        else if (rule.bMeasured)
            lines.push_back(sText);
        UINT uFormat = rule.bMeasured ? rule.uFormat : DT_SINGLELINE | DT_NOPREFIX;
        if (!rule.bMeasured)
            iRoomWidth -= 4;
        for (const std::string& sLine : lines)
        {
            SIZE need = MeasureText(dc.Get(), sLine.c_str(), uFormat, iRoomWidth);
            if (need.cx > iRoomWidth || need.cy > iRoomHeight)
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

    void Check(HWND hDialog, const std::string& sLanguage, const char* pszDialog, bool bAssert)
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
            if (bAssert)
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

    void WalkLanguage(const std::string& sLanguage, bool bAssert)
    {
        UiTexts texts = WalkTexts(sLanguage);
        m_Wizard.SetTexts(texts);
        StartSetup();
        HWND hWelcome = m_Wizard.WaitForStep(WELCOME_CLASS);
        ASSERT_NE(hWelcome, nullptr) << "no welcome step";
        ASSERT_TRUE(PickListItem(FindChild(hWelcome, "ListBox", ""), sLanguage)) << sLanguage;
        ASSERT_NE(m_Wizard.Button(hWelcome, texts.sNext), nullptr)
            << sLanguage << ": the language did not switch";
        Check(hWelcome, sLanguage, "welcome", bAssert);
        HWND hOptions = m_Wizard.PressAndWait(hWelcome, texts.sNext, OPTIONS_CLASS);
        Check(hOptions, sLanguage, "options", bAssert);

        HWND hTree = m_Wizard.PressAndWait(hOptions, "...", TREE_CLASS);
        Check(hTree, sLanguage, "folders", bAssert);
        HWND hNewFolder = m_Wizard.PressAndWait(hTree, texts.sNewFolder, NEW_FOLDER_CLASS);
        Check(hNewFolder, sLanguage, "new folder", bAssert);
        ASSERT_NE(m_Wizard.PressAndWait(hNewFolder, texts.sCancel, TREE_CLASS), nullptr);
        ASSERT_NE(m_Wizard.PressAndWait(hTree, texts.sCancel, OPTIONS_CLASS), nullptr);

        HWND hImages = m_Wizard.PressAndWait(hOptions, texts.sNext, IMAGES_CLASS);
        Check(hImages, sLanguage, "images", bAssert);
        ASSERT_TRUE(m_Wizard.Press(hImages, texts.sNext));
        HWND hInstall = m_Wizard.WaitForInstallStep();
        Check(hInstall, sLanguage, "install", bAssert);
        HWND hBye = InstallAndWaitForFinish(hInstall);
        Check(hBye, sLanguage, "finish", bAssert);
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

    for (const std::string& sLanguage : Languages(sFile))
    {
        bool bShipped = std::find(shipped.begin(), shipped.end(), sLanguage) != shipped.end();
        WalkLanguage(sLanguage, bShipped);
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
