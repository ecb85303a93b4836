#pragma once

#include "StepMachine.h"
#include "TxForm.h"
#include "TxImage.h"
#include "TxPaintBox.h"

class CWizardForms;

// The full-screen background of the wizard. It runs the start-up, holds
// the step machine and sets the texts of every form.
class TFormMain : public TxForm, private IStepHost
{
public:
    // The forms not made yet are made through forms when they are needed.
    explicit TFormMain(CWizardForms& forms);

    // Sets the texts of the forms made so far from the string tables
    // (CWizardForms::SetCaptions).
    void SetCaptions();
    // The handler of the step message: runs one step.
    void NextStep();

    TxPaintBox PaintBox;
    TxImage ImageLogo;
    CStepMachine m_Steps;

protected:
    LRESULT WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void FormShow() override;
    void FormCloseRequest() override;

private:
    void PaintBoxPaint(HDC hDc, const RECT& rc);
    void FillLanguageList();
    // Makes the forms not yet made; false (after showing why) when one
    // cannot be made, which ends the program.
    bool HaveAllForms();

    bool OpenArchive() override;
    StepOutcome ShowStep(int iCode) override;
    void CloseArchive() override;
    void EndProgram() override;
    void PostNextStep() override;

    CWizardForms& m_Forms;
};

extern TFormMain* FormMain;
