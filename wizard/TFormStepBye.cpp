#include "TFormStepBye.h"

#include "CLog.h"
#include "EarlierInstallation.h"
#include "ExitCodes.h"
#include "InstallBackup.h"
#include "InstallHistory.h"
#include "ProgramStart.h"
#include "SetupState.h"
#include "StringTables.h"
#include "TFormStepInstall.h"
#include "UninstallLog.h"

TFormStepBye* FormStepBye = nullptr;

TFormStepBye::TFormStepBye()
    : TFormStep("TFormStepBye"), LabelBye(*this, 56, 88, 441, 73, "", TxLabelKind::WordWrap),
      CheckBoxRunManager(*this, 56, 168, 449, 17, "Run Quorvane Manager now")
{
    CheckBoxRunManager.SetChecked(true);
    CheckBoxRunManager.Hide();
    MoveButtonsLast();
}

void TFormStepBye::SetTexts(const TxString& sCaption)
{
    SetCaption(sCaption.GetText());
    LabelCaption.SetText(gls_SetupComplete.GetText());
    SetButtonTexts();
    CheckBoxRunManager.SetText(gls_RunManagerNow.GetText());
}

void TFormStepBye::FormShow()
{
    m_bGoOn = true;
    if (FormStepInstall->Stopped() || FormStepInstall->Failed())
    {
        RollBack();
        // Over an earlier installation that the rollback left whole, asking
        // for a new installation would be untrue.
        const TxString& sText =
            EarlierInstallationComplete() ? gls_SetupUnsuccessfulKept : gls_SetupUnsuccessful;
        LabelBye.SetText(sText.GetText());
        return;
    }
    LabelBye.SetText(gls_SetupSuccessful.GetText());
    CheckBoxRunManager.Show();
    SaveUninstallInfo();
    DiscardKept();
}

int TFormStepBye::ExitCode() const
{
    bool bStopped = FormStepInstall->Stopped();
    bool bFailed = FormStepInstall->Failed();
    return InstallExitCode(!bStopped && !bFailed, bStopped, bFailed);
}

void TFormStepBye::ButtonCloseClick()
{
    if (CheckBoxRunManager.IsVisibleFlag() && CheckBoxRunManager.IsChecked())
        StartManager();
    SetModalResult(MR_OK);
}

void TFormStepBye::StartManager()
{
    // As the user, not as the elevated setup; a failure is only logged.
    TxString sPath = JoinPath(g_sDstDir.GetText(), MANAGER_FILE_NAME);
    StartProgramAsUser(sPath.GetText());
}
