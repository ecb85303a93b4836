#pragma once

#include "TFormStepWelcome.h"

#include <memory>

class TFormMain;
class TFormStepBye;
class TFormStepOptions;
class TFormStepPhotos;
class TFormStepInstall;
class TFormTree;
class TFormNewFolder;

// The wizard's forms, one of each for the whole run, and their texts.
//
// Only the main form and the welcome step are made before the message loop:
// each form costs several milliseconds of window creation (far more under
// Wine), and the user sees none of the others before leaving the welcome
// step. The others are made, in their fixed order, as soon as the welcome
// dialog is on screen, or earlier when something needs them.
class CWizardForms : private ILanguageChoice
{
public:
    // Creates FormMain and FormStepWelcome.
    CWizardForms();
    // Destroys every form made and clears the form variables.
    ~CWizardForms();
    CWizardForms(const CWizardForms&) = delete;
    CWizardForms& operator=(const CWizardForms&) = delete;

    // Creates FormStepBye, FormStepOptions, FormStepPhotos, FormStepInstall,
    // FormTree and FormNewFolder and gives them the current texts. Does
    // nothing once they exist.
    void CreateRemaining();

    // Switches to the language (SwitchLanguage), then sets the texts of the
    // forms made so far; the welcome step's choice comes here.
    void ApplyLanguage(const TxString& sName, WORD wLangId);
    // Sets the texts of the forms made so far from the string tables; the
    // others get theirs when they are made.
    void SetCaptions();

private:
    void DestroyRemaining();
    void LanguageChosen(const TxString& sName, WORD wLangId) override;

    // Declared in creation order, so that they are destroyed in reverse.
    std::unique_ptr<TFormMain> m_pMain;
    std::unique_ptr<TFormStepWelcome> m_pWelcome;
    std::unique_ptr<TFormStepBye> m_pBye;
    std::unique_ptr<TFormStepOptions> m_pOptions;
    std::unique_ptr<TFormStepPhotos> m_pPhotos;
    std::unique_ptr<TFormStepInstall> m_pInstall;
    std::unique_ptr<TFormTree> m_pTree;
    std::unique_ptr<TFormNewFolder> m_pNewFolder;
};
