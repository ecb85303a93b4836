#pragma once

#include "TFormStep.h"
#include "TxListBox.h"
#include "TxMemo.h"

// The first step: the choice of the interface language.
class TFormStepWelcome : public TFormStep
{
public:
    TFormStepWelcome();

    void SetTexts(const TxString& sCaption);
    // Switches to the selected language and sets every form's texts anew.
    void ListBoxLanguageClick();

    TxLabel LabelSelectLanguage;
    TxListBox ListBoxLanguage;
    TxMemo MemoWelcome;

protected:
    void FormShow() override;
};

extern TFormStepWelcome* FormStepWelcome;
