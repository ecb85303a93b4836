// Forms and controls with real windows; needs a display.
#include "TCSpinEdit.h"
#include "TxApplication.h"
#include "TxButton.h"
#include "TxForm.h"
#include "TxListBox.h"
#include "TxMessageBox.h"
#include "TxRadioGroup.h"

#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace
{
class TestForm : public TxForm
{
public:
    TestForm()
        : TxForm("TxFormTestForm", TxBorder::Dialog, 300, 200),
          ButtonOk(*this, 10, 160, 80, 25, "OK", true),
          ButtonCancel(*this, 100, 160, 80, 25, "Cancel"), ListBox(*this, 10, 10, 120, 80),
          Group(*this, 140, 10, 150, 80, "Group"), Spin(*this, 10, 100, 60, 21)
    {
        SetDefaultButton(&ButtonOk);
        SetCancelButton(&ButtonCancel);
        ButtonOk.OnClick = [this]
        {
            ++iOkClicks;
            SetModalResult(MR_OK);
        };
        ButtonCancel.OnClick = [this] { SetModalResult(MR_CANCEL); };
    }

    bool FormCloseQuery() override
    {
        ++iQueries;
        return iQueries > iRefusals;
    }
    void FormShow() override
    {
        ++iShows;
        bVisibleInShow = IsVisible();
    }
    void FormShown() override { bVisibleInShown = IsVisible(); }

    TxButton ButtonOk;
    TxButton ButtonCancel;
    TxListBox ListBox;
    TxRadioGroup Group;
    TCSpinEdit Spin;
    int iOkClicks = 0;
    int iQueries = 0;
    int iRefusals = 0;
    int iShows = 0;
    bool bVisibleInShow = false;
    bool bVisibleInShown = false;
};

// Clicks as another program would: posted, not called.
void PostClick(const TxButton& button)
{
    PostMessageA(button.Handle(), BM_CLICK, 0, 0);
}

BOOL CALLBACK FindMessageBox(HWND hWnd, LPARAM lParam)
{
    char szClass[16] = "";
    GetClassNameA(hWnd, szClass, sizeof(szClass));
    if (lstrcmpA(szClass, "#32770") != 0 || !IsWindowVisible(hWnd))
        return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
}

// Answers the thread's message box with No once it is up.
VOID CALLBACK AnswerNo(HWND, UINT, UINT_PTR idEvent, DWORD)
{
    HWND hBox = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindMessageBox, reinterpret_cast<LPARAM>(&hBox));
    if (hBox == nullptr)
        return;
    KillTimer(nullptr, idEvent);
    PostMessageA(hBox, WM_COMMAND, IDNO, 0);
}

// Runs a piece of a test from inside a modal loop.
std::function<void()> g_Scenario;
VOID CALLBACK RunScenario(HWND, UINT, UINT_PTR idEvent, DWORD)
{
    KillTimer(nullptr, idEvent);
    g_Scenario();
}
} // namespace

TEST(TxFormTest, PostedClickEndsTheModalLoop)
{
    TestForm form;
    PostClick(form.ButtonOk);
    EXPECT_EQ(form.ShowModal(), MR_OK);
    EXPECT_EQ(form.iOkClicks, 1);
    EXPECT_EQ(form.iShows, 1);
    EXPECT_FALSE(form.IsVisible());
    EXPECT_FALSE(form.IsModal());
}

TEST(TxFormTest, DisabledOrHiddenButtonIgnoresClicks)
{
    TestForm form;
    form.ButtonOk.SetEnabled(false);
    PostClick(form.ButtonOk);
    PostClick(form.ButtonCancel);
    EXPECT_EQ(form.ShowModal(), MR_CANCEL);
    EXPECT_EQ(form.iOkClicks, 0);

    form.ButtonOk.SetEnabled(true);
    form.ButtonOk.Hide();
    form.ButtonOk.Click();
    EXPECT_EQ(form.iOkClicks, 0);
    form.ButtonOk.Show();
    form.ButtonOk.Click();
    EXPECT_EQ(form.iOkClicks, 1);
}

TEST(TxFormTest, CloseCommandCountsAsCancelAndCloseQueryCanRefuse)
{
    TestForm form;
    form.iRefusals = 1;
    PostMessageA(form.Handle(), WM_CLOSE, 0, 0);
    PostMessageA(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(form.ShowModal(), MR_CANCEL);
    EXPECT_EQ(form.iQueries, 2);
}

TEST(TxFormTest, EnterAndEscapeReachTheDefaultAndCancelButtons)
{
    TestForm form;
    PostMessageA(form.Handle(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(form.ShowModal(), MR_CANCEL);
    PostMessageA(form.Handle(), WM_COMMAND, IDOK, 0);
    EXPECT_EQ(form.ShowModal(), MR_OK);
    EXPECT_EQ(SendMessageA(form.Handle(), DM_GETDEFID, 0, 0),
              MAKELRESULT(form.ButtonOk.Id(), DC_HASDEFID));
}

TEST(TxFormTest, ModalFormDisablesTheOthers)
{
    TestForm owner;
    TestForm dialog;
    owner.Show();
    bool bOwnerEnabledDuringModal = true;
    dialog.ButtonCancel.OnClick = [&]
    {
        bOwnerEnabledDuringModal = IsWindowEnabled(owner.Handle()) != FALSE;
        dialog.SetModalResult(MR_CANCEL);
    };
    PostClick(dialog.ButtonCancel);
    EXPECT_EQ(dialog.ShowModal(), MR_CANCEL);
    EXPECT_FALSE(bOwnerEnabledDuringModal);
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
}

TEST(TxFormTest, FormIsShownFinishedAndGetsItsFocusBackAfterBoxesAndDialogs)
{
    TestForm form;
    TestForm dialog;
    form.SetActiveControl(&form.ListBox);
    std::vector<std::string> focus;
    auto Focused = [&] { return GetFocus() == form.ListBox.Handle() ? "list" : "elsewhere"; };
    g_Scenario = [&]
    {
        focus.push_back(Focused());
        SetTimer(nullptr, 0, 20, AnswerNo);
        EXPECT_EQ(TxMessageBox("Sure?", "Question", MB_YESNO | MB_DEFBUTTON2), IDNO);
        focus.push_back(Focused());
        for (const TxButton* pButton : {&dialog.ButtonOk, &dialog.ButtonCancel})
        {
            PostClick(*pButton);
            dialog.ShowModal();
            focus.push_back(Focused());
        }
        form.SetModalResult(MR_OK);
    };
    SetTimer(nullptr, 0, 10, RunScenario);
    EXPECT_EQ(form.ShowModal(), MR_OK);
    EXPECT_FALSE(form.bVisibleInShow);
    EXPECT_TRUE(form.bVisibleInShown);
    EXPECT_EQ(focus, (std::vector<std::string>{"list", "list", "list", "list"}));
}

TEST(TxFormTest, ListBoxSortsFindsAndCarriesData)
{
    TestForm form;
    form.ListBox.AddItem("English", 9);
    form.ListBox.AddItem("Deutsch", 7);
    form.ListBox.AddItem("Italiano", 16);
    EXPECT_STREQ(form.ListBox.ItemText(0).GetText(), "Deutsch");
    int i = form.ListBox.FindExact("ENGLISH");
    ASSERT_EQ(i, 1);
    EXPECT_EQ(form.ListBox.ItemData(i), 9);
    EXPECT_EQ(form.ListBox.FindExact("Engl"), -1);
    EXPECT_EQ(form.ListBox.ItemIndex(), -1);
    form.ListBox.Clear();
    EXPECT_EQ(form.ListBox.Count(), 0);
    EXPECT_EQ(form.ListBox.FindExact(""), -1);
}

TEST(TxFormTest, RadioGroupSelection)
{
    TestForm form;
    EXPECT_EQ(form.Group.ItemIndex(), -1);
    form.Group.Add("None");
    form.Group.Add("Current user");
    form.Group.Add("All users");
    form.Group.SetItemIndex(2);
    EXPECT_EQ(form.Group.ItemIndex(), 2);
    EXPECT_STREQ(form.Group.ItemText(1).GetText(), "Current user");
    form.Group.Clear();
    form.Group.Add("None");
    form.Group.Add("Add");
    EXPECT_EQ(form.Group.Count(), 2);
    EXPECT_EQ(form.Group.ItemIndex(), -1);
    form.Group.SetItemIndex(1);
    EXPECT_EQ(form.Group.ItemIndex(), 1);
}

TEST(TxFormTest, SpinEditHoldsItsRange)
{
    TestForm form;
    int iChanges = 0;
    form.Spin.OnChange = [&iChanges] { ++iChanges; };
    form.Spin.SetMinValue(1);
    form.Spin.SetMaxValue(5);
    form.Spin.SetValue(9);
    EXPECT_EQ(form.Spin.Value(), 5);
    EXPECT_STREQ(form.Spin.GetText().GetText(), "5");
    EXPECT_GT(iChanges, 0);
    form.Spin.SetText("0");
    EXPECT_EQ(form.Spin.Value(), 1);
    form.Spin.SetText("");
    EXPECT_EQ(form.Spin.Value(), 1);
}
