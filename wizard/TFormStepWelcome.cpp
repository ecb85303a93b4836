#include "TFormStepWelcome.h"

#include "LanguageCatalogue.h"
#include "StringTables.h"
#include "TFormMain.h"

TFormStepWelcome* FormStepWelcome = nullptr;

TFormStepWelcome::TFormStepWelcome()
    : TFormStep("TFormStepWelcome"),
      LabelSelectLanguage(*this, 8, 40, 0, 0, "Select language:", TxLabelKind::AutoSize),
      ListBoxLanguage(*this, 12, 56, 121, 89), MemoWelcome(*this, 144, 40, 401, 193)
{
    ListBoxLanguage.OnClick = [this] { ListBoxLanguageClick(); };
    MoveButtonsLast();
}

void TFormStepWelcome::SetTexts(const TxString& sCaption)
{
    SetCaption(sCaption.GetText());
    LabelCaption.SetText(gls_Welcome.GetText());
    LabelSelectLanguage.SetText(gls_SelectLanguage.GetText());
    MemoWelcome.SetText(gls_Usage.GetText());
    SetButtonTexts();
    FitTexts();
}

void TFormStepWelcome::FormShow()
{
    m_bGoOn = true;
    MemoWelcome.SetText(gls_Usage.GetText());
}

void TFormStepWelcome::ListBoxLanguageClick()
{
    int iIndex = ListBoxLanguage.ItemIndex();
    if (iIndex < 0)
        return;
    SwitchLanguage(ListBoxLanguage.ItemText(iIndex),
                   static_cast<WORD>(ListBoxLanguage.ItemData(iIndex)));
    FormMain->SetCaptions();
}
