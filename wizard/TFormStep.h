#pragma once

#include "StepMachine.h"
#include "TxButton.h"
#include "TxForm.h"
#include "TxLabel.h"

// The frame all step dialogs share: a fixed dialog of 552 x 273 pixels
// with the step title and the Previous, Next, Cancel and Close buttons.
class TFormStep : public TxForm
{
public:
    explicit TFormStep(const char* pszClassName);

    // Before each showing: caption, title, the buttons shown and the focus.
    void Prepare(const char* pszCaption, const char* pszTitle, const StepButtons& buttons);
    // The four buttons' texts from the string tables.
    void SetButtonTexts();
    // True when the step was left with Next, false with Previous.
    bool GoOn() const { return m_bGoOn; }
    // The program's exit code should it end after this step; 0 where the
    // step does not decide it.
    virtual int ExitCode() const { return 0; }

    TxLabel LabelCaption;
    TxButton ButtonPrevious;
    TxButton ButtonNext;
    TxButton ButtonCancel;
    TxButton ButtonClose;

protected:
    virtual void ButtonNextClick();
    virtual void ButtonPreviousClick();
    virtual void ButtonCancelClick();
    virtual void ButtonCloseClick();
    // Closing with Cancel, by button or by the system's close command, is
    // confirmed by the user first.
    bool FormCloseQuery() override;
    // Asks the cancel question; true when the user answered Yes.
    bool ConfirmCancel();
    // Puts the shared buttons last in the tab order, after the step's own
    // controls; the derived form calls it once its controls exist.
    void MoveButtonsLast();

    bool m_bGoOn;
};
