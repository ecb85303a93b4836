#include "TFormSilentProgress.h"

#include "StringTables.h"
#include "TxApplication.h"
#include "TxFormat.h"
#include "WizardCaption.h"

TFormSilentProgress::TFormSilentProgress()
    : TxForm("TFormSilentProgress", TxBorder::Dialog, 420, 112),
      LabelFile(*this, 12, 12, 396, 16, "", TxLabelKind::Path), ProgressBar(*this, 12, 34, 396, 17),
      LabelProgress(*this, 12, 56, 396, 16, "", TxLabelKind::Centred),
      ButtonCancel(*this, 160, -37, 100, 25, "Cancel"), m_bCancelled(false)
{
    ButtonCancel.OnClick = [this] { ButtonCancelClick(); };
    ButtonCancel.SetPinned(true);
    SetCancelButton(&ButtonCancel);
    SetActiveControl(&ButtonCancel);
    SetCentred(true);
}

void TFormSilentProgress::SetTexts()
{
    SetCaption(WizardCaption().GetText());
    ButtonCancel.SetText(gls_ButtonCancel.GetText());
}

void TFormSilentProgress::Begin()
{
    // The language is chosen by now; the layout fits these texts as the
    // form is shown.
    SetTexts();
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
    // The texts the copy loop changed are fitted at the form's next
    // message; their repainting sends one.
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
