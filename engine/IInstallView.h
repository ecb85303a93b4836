#pragma once

#include "IMessageView.h"

// What the copy engine needs of the screen. The install step form implements
// it; tests implement it without any window and answer the boxes themselves.
class IInstallView : public IMessageView
{
public:
    // Shows the progress bar, its label and the Stop button.
    virtual void ShowProgressControls() = 0;
    // Disables Previous, Start and Cancel; Stop stays enabled.
    virtual void DisableNavigation() = 0;
    virtual void SetProgress(int iPercent, const char* pszLabel) = 0;
    // The file about to be copied, for a view that names it; the install
    // step does not.
    virtual void SetCurrentFile(const char* /*pszTarget*/) {}
    // Handles all pending window messages once (Stop may be pressed here).
    virtual void ProcessMessages() = 0;
    // Posts the next install step message to the step's own window.
    virtual void PostInstallStep() = 0;
    // Closes the step with the result OK: the run completed or failed, and
    // the wizard goes on to the finish step.
    virtual void CloseStep() = 0;
};
