#include "TFormSilentProgress.h"

#include "StringTables.h"
#include "TxApplication.h"
#include "TxFormat.h"
#include "WizardCaption.h"

TFormSilentProgress::TFormSilentProgress()
    : TxForm("TFormSilentProgress", TxBorder::Dialog, 420, 124),
      LabelFile(*this, 12, 12, 396, 28, "", TxLabelKind::WordWrap),
      ProgressBar(*this, 12, 46, 396, 17),
      LabelProgress(*this, 12, 68, 396, 16, "", TxLabelKind::Centred),
      ButtonCancel(*this, 160, 90, 100, 25, "Cancel"), m_bCancelled(false)
{
    ButtonCancel.OnClick = [this] { ButtonCancelClick(); };
    SetCancelButton(&ButtonCancel);
    SetActiveControl(&ButtonCancel);
    SetCentred(true);
}

void TFormSilentProgress::Begin()
{
    // The language is chosen by now.
    SetCaption(WizardCaption().GetText());
    ButtonCancel.SetText(gls_ButtonCancel.GetText());
    SetProgress(0, TxFormat(gls_InstalledD.GetText(), {0}).GetText());
    Show();
}

void TFormSilentProgress::SetFile(const char* pszPath)
{
    LabelFile.SetText(pszPath);
    // Drawn now: the copy that follows takes the thread until it is done.
    UpdateWindow(LabelFile.Handle());
}

void TFormSilentProgress::SetProgress(int iPercent, const char* pszLabel)
{
    ProgressBar.SetPosition(iPercent);
    LabelProgress.SetText(pszLabel);
}

bool TFormSilentProgress::ProcessMessages()
{
    Application.ProcessMessages();
    return m_bCancelled;
}

void TFormSilentProgress::End()
{
    Hide();
}

void TFormSilentProgress::FormCloseRequest()
{
    ButtonCancelClick();
}

void TFormSilentProgress::ButtonCancelClick()
{
    m_bCancelled = true;
    ButtonCancel.SetEnabled(false);
}
