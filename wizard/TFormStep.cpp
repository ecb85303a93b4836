#include "TFormStep.h"

#include "StringTables.h"
#include "TxFont.h"
#include "TxMessageBox.h"

namespace
{
constexpr int STEP_CLIENT_WIDTH = 552;
constexpr int STEP_CLIENT_HEIGHT = 273;
constexpr int BUTTON_TOP = 240;
} // namespace

TFormStep::TFormStep(const char* pszClassName)
    : TxForm(pszClassName, TxBorder::Dialog, STEP_CLIENT_WIDTH, STEP_CLIENT_HEIGHT),
      LabelCaption(*this, 8, 8, 0, 0, "", TxLabelKind::AutoSize),
      ButtonPrevious(*this, 237, BUTTON_TOP, 100, 25, "<  Previous"),
      ButtonNext(*this, 341, BUTTON_TOP, 100, 25, "Next  >", true),
      ButtonCancel(*this, 445, BUTTON_TOP, 100, 25, "Cancel"),
      ButtonClose(*this, 244, BUTTON_TOP, 100, 25, "Close"), m_bGoOn(true)
{
    SetCentred(true);
    LabelCaption.SetFont(HeadingFont());
    SetDefaultButton(&ButtonNext);
    SetCancelButton(&ButtonCancel);
    ButtonPrevious.OnClick = [this] { ButtonPreviousClick(); };
    ButtonNext.OnClick = [this] { ButtonNextClick(); };
    ButtonCancel.OnClick = [this] { ButtonCancelClick(); };
    ButtonClose.OnClick = [this] { ButtonCloseClick(); };
    // The title and the buttons stay where every step has them.
    LabelCaption.SetPinned(true);
    for (TxButton* pButton : {&ButtonPrevious, &ButtonNext, &ButtonCancel, &ButtonClose})
        pButton->SetPinned(true);
}

void TFormStep::Prepare(const char* pszCaption, const char* pszTitle, const StepButtons& buttons)
{
    SetCaption(pszCaption);
    LabelCaption.SetText(pszTitle);
    ButtonPrevious.SetVisible(buttons.bPrevious);
    ButtonNext.SetVisible(buttons.bNext);
    ButtonNext.SetEnabled(true);
    ButtonCancel.SetVisible(buttons.bCancel);
    ButtonClose.SetVisible(buttons.bClose);
    SetActiveControl(buttons.bFocusClose ? &ButtonClose : &ButtonNext);
}

void TFormStep::SetButtonTexts()
{
    ButtonClose.SetText(gls_ButtonClose.GetText());
    ButtonPrevious.SetText(gls_ButtonPrevious.GetText());
    ButtonNext.SetText(gls_ButtonNext.GetText());
    ButtonCancel.SetText(gls_ButtonCancel.GetText());
}

void TFormStep::ButtonNextClick()
{
    m_bGoOn = true;
    SetModalResult(MR_OK);
}

void TFormStep::ButtonPreviousClick()
{
    m_bGoOn = false;
    SetModalResult(MR_OK);
}

void TFormStep::ButtonCancelClick()
{
    SetModalResult(MR_CANCEL);
}

void TFormStep::ButtonCloseClick()
{
    SetModalResult(MR_OK);
}

bool TFormStep::FormCloseQuery()
{
    if (ModalResult() != MR_CANCEL)
        return true;
    return ConfirmCancel();
}

bool TFormStep::ConfirmCancel()
{
    return TxMessageBox(gls_WantToCancel.GetText(), gls_CancelRequest.GetText(),
                        MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void TFormStep::MoveButtonsLast()
{
    for (TxButton* pButton : {&ButtonPrevious, &ButtonNext, &ButtonCancel, &ButtonClose})
        SetWindowPos(pButton->Handle(), HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
