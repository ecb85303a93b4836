#pragma once

#include "TFormStep.h"
#include "TxCheckBox.h"

// The last step: saves the uninstall information after a successful
// installation or rolls a failed or stopped one back, and may start the
// product's manager.
class TFormStepBye : public TFormStep
{
public:
    TFormStepBye();

    void SetTexts(const TxString& sCaption);
    // 0 after a successful installation, 1602 after Stop, 1603 after a failure.
    int ExitCode() const override;

    TxLabel LabelBye;
    TxCheckBox CheckBoxRunManager;

protected:
    void FormShow() override;
    void ButtonCloseClick() override;

private:
    void StartManager();
};

extern TFormStepBye* FormStepBye;
