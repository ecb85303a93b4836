// A form placing and fitting its real controls: when it does so, and what
// the design rectangles ask for.
#include "TxButton.h"
#include "TxDpi.h"
#include "TxForm.h"
#include "TxLabel.h"
#include "TxRadioButton.h"

#include <gtest/gtest.h>
#include <string>

namespace
{
class LayoutForm : public TxForm
{
public:
    LayoutForm()
        : TxForm("TxFormLayoutTestForm", TxBorder::Dialog, 300, 120),
          Note(*this, 10, 10, 200, 13, "", TxLabelKind::WordWrap),
          Below(*this, 10, 30, 0, 0, "Below", TxLabelKind::AutoSize),
          Choice(*this, 10, 60, 120, 17, "Short", true),
          After(*this, 0, 62, 0, 0, "after", TxLabelKind::AutoSize),
          Corner(*this, -83, -35, 75, 25, "Corner")
    {
        After.SetFollows(Choice, 8);
    }

    TxLabel Note;
    TxLabel Below;
    TxRadioButton Choice;
    TxLabel After;
    TxButton Corner;
};

RECT PlaceOf(const TxControl& control)
{
    return TxRectInParent(control.Handle(), control.Parent().Handle());
}

std::string Show(const RECT& rc)
{
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + " " +
           std::to_string(rc.right - rc.left) + "x" + std::to_string(rc.bottom - rc.top);
}

bool IsMultiLine(const TxControl& control)
{
    return (GetWindowLongPtrA(control.Handle(), GWL_STYLE) & BS_MULTILINE) != 0;
}

// A message to the form: it fits what the handling before it changed.
void Deliver(const TxForm& form)
{
    SendMessageA(form.Handle(), WM_NULL, 0, 0);
}

const char LONG_NOTE[] = "A note far longer than its one line of two hundred pixels, so that it "
                         "needs three lines or more";
} // namespace

// Long texts get room, and once the texts are short again (another
// language) every control is back in its own place.
TEST(TxFormLayoutTest, LongTextsGetRoomAndShortOnesTheirPlaceBack)
{
    LayoutForm form;
    form.Show();
    const RECT note = PlaceOf(form.Note);
    const RECT below = PlaceOf(form.Below);
    const RECT choice = PlaceOf(form.Choice);
    EXPECT_EQ(Show(note),
              Show({Scaled(10), Scaled(10), Scaled(10) + Scaled(200), Scaled(10) + Scaled(13)}));

    form.Note.SetText(LONG_NOTE);
    form.Choice.SetText("A choice whose text needs more than one line in its place");
    Deliver(form);
    EXPECT_GT(PlaceOf(form.Note).bottom, note.bottom + Scaled(13));
    EXPECT_GE(PlaceOf(form.Below).top, PlaceOf(form.Note).bottom);
    EXPECT_TRUE(IsMultiLine(form.Choice) ||
                PlaceOf(form.Choice).right - PlaceOf(form.Choice).left > Scaled(120));
    EXPECT_LE(PlaceOf(form.Choice).bottom, form.ClientRectPx().bottom);

    form.Note.SetText("Short");
    form.Choice.SetText("Short");
    Deliver(form);
    EXPECT_EQ(Show(PlaceOf(form.Note)), Show(note));
    EXPECT_EQ(Show(PlaceOf(form.Below)), Show(below));
    EXPECT_EQ(Show(PlaceOf(form.Choice)), Show(choice));
    EXPECT_FALSE(IsMultiLine(form.Choice));
}

// A hidden form is fitted when it is shown; a hidden control takes no room.
TEST(TxFormLayoutTest, HiddenFormsWaitAndHiddenControlsTakeNoRoom)
{
    LayoutForm form;
    form.Show();
    form.Hide();
    const RECT below = PlaceOf(form.Below);
    form.Note.SetText(LONG_NOTE);
    Deliver(form);
    EXPECT_EQ(Show(PlaceOf(form.Below)), Show(below)) << "fitted while hidden";
    form.Below.Hide();
    form.Show();
    EXPECT_EQ(Show(PlaceOf(form.Below)), Show(below)) << "a hidden control was pushed";
    EXPECT_GT(PlaceOf(form.Note).bottom, below.top) << "the note took no room";

    form.Below.Show();
    Deliver(form);
    EXPECT_GE(PlaceOf(form.Below).top, PlaceOf(form.Note).bottom);
}

// Places from the right and bottom edges follow the form's size; a control
// set after another follows that one's text.
TEST(TxFormLayoutTest, EdgePlacesAndFollowersFollow)
{
    LayoutForm form;
    form.Show();
    RECT rcClient = form.ClientRectPx();
    EXPECT_EQ(Show(PlaceOf(form.Corner)),
              Show({rcClient.right - Scaled(83), rcClient.bottom - Scaled(35),
                    rcClient.right - Scaled(83) + Scaled(75),
                    rcClient.bottom - Scaled(35) + Scaled(25)}));
    EXPECT_EQ(PlaceOf(form.After).left, PlaceOf(form.Choice).right + Scaled(8));

    form.SetClientSize(340, 150);
    rcClient = form.ClientRectPx();
    EXPECT_EQ(PlaceOf(form.Corner).right, rcClient.right - Scaled(8));
    EXPECT_EQ(PlaceOf(form.Corner).bottom, rcClient.bottom - Scaled(10));
}

// A path label shortens its text itself and never takes more room.
TEST(TxFormLayoutTest, PathLabelsKeepTheirPlace)
{
    LayoutForm form;
    TxLabel path(form, 10, 90, 120, 13, "", TxLabelKind::Path);
    form.Show();
    const RECT place = PlaceOf(path);
    path.SetText("C:\\Program Files\\Quorvane\\a folder with a long name\\and a file in it.exe");
    Deliver(form);
    EXPECT_EQ(Show(PlaceOf(path)), Show(place));
}
