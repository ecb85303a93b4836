#pragma once

#include "CopyEngine.h"
#include "IInstallView.h"
#include "StopQuestion.h"
#include "TFormStep.h"
#include "TxProgressBar.h"

// The install step: the rights and free-space checks, then the copy engine
// driven one file per install step message, with Stop.
class TFormStepInstall : public TFormStep, private IInstallView
{
public:
    TFormStepInstall();

    void SetTexts(const TxString& sCaption);
    // The checks before Start (InstallChecks), each with its box; false
    // when Start stays disabled.
    bool RunChecks();
    bool Failed() const { return m_Engine.Failed(); }
    bool Stopped() const { return m_Engine.Stopped(); }

    TxLabel LabelPrepared;
    TxProgressBar ProgressBar;
    TxLabel LabelProgress;
    TxButton ButtonStop;

protected:
    LRESULT WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void FormShow() override;
    bool FormCloseQuery() override;
    void FormCloseRequest() override;
    void ButtonNextClick() override;

private:
    void ButtonStopClick();
    void DisableStart();

    int ShowMessage(const char* pszText, const char* pszCaption, unsigned uFlags) override;
    void ShowProgressControls() override;
    void DisableNavigation() override;
    void SetProgress(int iPercent, const char* pszLabel) override;
    void ProcessMessages() override;
    void PostInstallStep() override;
    void CloseStep() override;

    CCopyEngine m_Engine;
    bool m_bCopying;
    CStopQuestion m_StopQuestion;
};

extern TFormStepInstall* FormStepInstall;
