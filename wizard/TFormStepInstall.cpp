#include "TFormStepInstall.h"

#include "InstallChecks.h"
#include "ProgramFolderCheck.h"
#include "SetupState.h"
#include "StringTables.h"
#include "TFormStepOptions.h"
#include "TFormStepPhotos.h"
#include "TxApplication.h"
#include "TxMessageBox.h"
#include "WizardMessages.h"

#include <ctime>

TFormStepInstall* FormStepInstall = nullptr;

TFormStepInstall::TFormStepInstall()
    : TFormStep("TFormStepInstall"),
      LabelPrepared(*this, 16, 48, 521, 48, "", TxLabelKind::WordWrap),
      ProgressBar(*this, 16, 120, 521, 17),
      LabelProgress(*this, 16, 144, 521, 16, "", TxLabelKind::Centred),
      ButtonStop(*this, 226, 176, 100, 25, "Stop"), m_Engine(*this, g_SetupDat), m_bCopying(false)
{
    ProgressBar.Hide();
    LabelProgress.Hide();
    ButtonStop.Hide();
    ButtonStop.OnClick = [this] { ButtonStopClick(); };
    MoveButtonsLast();
}

void TFormStepInstall::SetTexts(const TxString& sCaption)
{
    SetCaption(sCaption.GetText());
    LabelCaption.SetText(gls_ReadyToInstall.GetText());
    LabelPrepared.SetText(gls_PreparedToInstall.GetText());
    SetButtonTexts();
    ButtonNext.SetText(gls_ButtonStart.GetText());
    ButtonStop.SetText(gls_ButtonStop.GetText());
}

LRESULT TFormStepInstall::WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_INSTALLSTEP)
    {
        if (m_StopQuestion.TakeStep())
            m_Engine.DoInstallStep();
        return 0;
    }
    return TFormStep::WindowProc(uMsg, wParam, lParam);
}

void TFormStepInstall::FormShow()
{
    LabelCaption.SetText(gls_NotReadyToInstall.GetText());
    LabelPrepared.SetText(gls_NotPreparedToInstall.GetText());
    m_bGoOn = true;
    m_Engine.ResetOutcome();
    if (!RunChecks())
        DisableStart();
    if (ButtonNext.IsEnabled())
    {
        LabelCaption.SetText(gls_ReadyToInstall.GetText());
        LabelPrepared.SetText(gls_PreparedToInstall.GetText());
    }
}

void TFormStepInstall::DisableStart()
{
    ButtonNext.SetEnabled(false);
    // Keep a focus the keyboard can use once the step is shown.
    SetActiveControl(&ButtonPrevious);
}

bool TFormStepInstall::RunChecks()
{
    bool bImages = FormStepPhotos->Choice() != IMAGES_NONE && g_ImageFiles.GetCount() > 0;
    CSystemRightsProbes probes;
    CSystemProgramFolder folder;
    InstallCheckContext context = {
        g_sDstDir.GetText(),
        bImages ? g_sImgDstDir.GetText() : nullptr,
        g_sWindowsDir.GetText(),
        g_sSystemDir.GetText(),
        FormStepOptions->LastDrive().IsEqual(FormStepPhotos->LastDrive()),
        g_qwPrgSize,
        g_qwImgInstallSize,
        g_qwFreeDst,
        g_qwFreeImg,
        probes,
        *this,
        folder};
    return RunInstallChecks(context);
}

void TFormStepInstall::ButtonNextClick()
{
    int iStartMenu = FormStepOptions->RadioGroupAddToStartMenu.ItemIndex();
    int iDesktop = FormStepOptions->RadioGroupAddIconToDesktop.ItemIndex();
    m_Engine.Start(FormStepPhotos->Choice(), FormStepPhotos->CSpinEditRandomImages.Value(),
                   static_cast<uint32_t>(std::time(nullptr)), iStartMenu, iDesktop);
}

void TFormStepInstall::ButtonStopClick()
{
    StopDecision decision = m_StopQuestion.Ask(
        []
        {
            return TxMessageBox(gls_WantToCancel.GetText(), gls_StopRequested.GetText(),
                                MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1) == IDYES;
        });
    if (decision == STOP_RESUME_COPYING)
        Post(WM_INSTALLSTEP);
    else if (decision == STOP_INSTALLATION)
    {
        m_Engine.SetStopped();
        SetModalResult(MR_OK);
    }
}

bool TFormStepInstall::FormCloseQuery()
{
    if (ModalResult() != MR_CANCEL)
        return true;
    if (!ConfirmCancel())
        return false;
    m_Engine.SetStopped();
    return true;
}

void TFormStepInstall::FormCloseRequest()
{
    // Once copying has begun, leaving without the finish step would keep
    // half an installation: the system's close command asks to stop instead.
    if (m_bCopying)
    {
        if (ButtonStop.IsUsable() && !m_Engine.Stopped())
            ButtonStopClick();
        return;
    }
    TFormStep::FormCloseRequest();
}

int TFormStepInstall::ShowMessage(const char* pszText, const char* pszCaption, unsigned uFlags)
{
    return TxMessageBox(pszText, pszCaption, uFlags);
}

void TFormStepInstall::ShowProgressControls()
{
    ProgressBar.SetPosition(0);
    ProgressBar.Show();
    LabelProgress.Show();
    ButtonStop.Show();
}

void TFormStepInstall::DisableNavigation()
{
    m_bCopying = true;
    ButtonPrevious.SetEnabled(false);
    ButtonNext.SetEnabled(false);
    ButtonCancel.SetEnabled(false);
    ButtonStop.SetFocus();
}

void TFormStepInstall::SetProgress(int iPercent, const char* pszLabel)
{
    ProgressBar.SetPosition(iPercent);
    LabelProgress.SetText(pszLabel);
}

void TFormStepInstall::ProcessMessages()
{
    Application.ProcessMessages();
}

void TFormStepInstall::PostInstallStep()
{
    Post(WM_INSTALLSTEP);
}

void TFormStepInstall::CloseStep()
{
    m_bGoOn = true;
    SetModalResult(MR_OK);
}
