#pragma once

#include "TFormStep.h"
#include "TxCollection.h"
#include "TxListBox.h"
#include "TxMemo.h"

// Told of the language the user picks on the welcome step.
class ILanguageChoice
{
public:
    virtual ~ILanguageChoice() = default;
    virtual void LanguageChosen(const TxString& sName, WORD wLangId) = 0;
};

// The first step: the choice of the interface language.
class TFormStepWelcome : public TFormStep
{
public:
    // The choices made in the language list go to choice.
    explicit TFormStepWelcome(ILanguageChoice& choice);

    void SetTexts(const TxString& sCaption);
    // Lists the languages (COneLanguage items) and selects sDefault, which
    // counts as the user's choice. False when sDefault is not listed.
    bool ListLanguages(const TxCollection& languages, const TxString& sDefault);
    // Reports the selected language as chosen.
    void ListBoxLanguageClick();

    TxLabel LabelSelectLanguage;
    TxListBox ListBoxLanguage;
    TxMemo MemoWelcome;

protected:
    void FormShow() override;

private:
    ILanguageChoice& m_Choice;
};

extern TFormStepWelcome* FormStepWelcome;
