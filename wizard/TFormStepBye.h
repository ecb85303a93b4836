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

    TxLabel LabelBye;
    TxCheckBox CheckBoxRunManager;

protected:
    void FormShow() override;
    void ButtonCloseClick() override;

private:
    void StartManager();
};

// The manager's file name in the program folder.
constexpr char MANAGER_FILE_NAME[] = "QvManag.exe";

extern TFormStepBye* FormStepBye;
