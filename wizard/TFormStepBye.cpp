#include "TFormStepBye.h"

#include "CLog.h"
#include "InstallBackup.h"
#include "InstallHistory.h"
#include "SetupState.h"
#include "StringTables.h"
#include "TFormStepInstall.h"
#include "TxHandles.h"
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
        LabelBye.SetText(gls_SetupUnsuccessful.GetText());
        RollBack();
        return;
    }
    LabelBye.SetText(gls_SetupSuccessful.GetText());
    CheckBoxRunManager.Show();
    SaveUninstallInfo();
    DiscardKept();
}

void TFormStepBye::ButtonCloseClick()
{
    if (CheckBoxRunManager.IsVisibleFlag() && CheckBoxRunManager.IsChecked())
        StartManager();
    SetModalResult(MR_OK);
}

void TFormStepBye::StartManager()
{
    TxString sPath = JoinPath(g_sDstDir.GetText(), MANAGER_FILE_NAME);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(sPath.GetText(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
    {
        // Passed over silently for the user; only the log hears of it.
        DWORD dwError = GetLastError();
        TX_LOG("TFormStepBye::StartManager - CreateProcessA failed: path=%s, error=%lu",
               sPath.GetText(), dwError);
        return;
    }
    TxKernelHandle hProcess(process.hProcess);
    TxKernelHandle hThread(process.hThread);
}
