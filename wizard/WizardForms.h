#pragma once

// The wizard's forms, one of each for the whole run.
//
// Only the main form and the welcome step are made before the message loop:
// each form costs several milliseconds of window creation (far more under
// Wine), and the user sees none of the others before leaving the welcome
// step. The others are made, in their fixed order, as soon as the welcome
// dialog is on screen, or earlier when something needs them.
class CWizardForms
{
public:
    // Creates FormMain and FormStepWelcome.
    CWizardForms();
    // Destroys every form made and clears the form variables.
    ~CWizardForms();
    CWizardForms(const CWizardForms&) = delete;
    CWizardForms& operator=(const CWizardForms&) = delete;
};

// Creates FormStepBye, FormStepOptions, FormStepPhotos, FormStepInstall,
// FormTree and FormNewFolder and gives them the current texts. Does nothing
// once they exist or while no CWizardForms lives.
void CreateRemainingForms();
