#pragma once

#include "TxButton.h"
#include "TxForm.h"
#include "TxLabel.h"
#include "TxProgressBar.h"
#include "UnattendedSetup.h"

// The small window of /SILENT: the setup's caption, the file being copied,
// the progress and Cancel, which asks nothing and stops the installation.
class TFormSilentProgress : public TxForm, public IUnattendedProgress
{
public:
    TFormSilentProgress();

    // The texts of the current language.
    void SetTexts();

    void Begin() override;
    void SetFile(const char* pszPath) override;
    void SetProgress(int iPercent, const char* pszLabel) override;
    bool ProcessMessages() override;
    void End() override;

    TxLabel LabelFile;
    TxProgressBar ProgressBar;
    TxLabel LabelProgress;
    TxButton ButtonCancel;

protected:
    // The system's close command stops as Cancel does.
    void FormCloseRequest() override;

private:
    void ButtonCancelClick();

    bool m_bCancelled;
};
