#include "TFormStepWelcome.h"

#include "LanguageCatalogue.h"
#include "StringTables.h"

TFormStepWelcome* FormStepWelcome = nullptr;

TFormStepWelcome::TFormStepWelcome(ILanguageChoice& choice)
    : TFormStep("TFormStepWelcome"),
      LabelSelectLanguage(*this, 8, 40, 0, 0, "Select language:", TxLabelKind::AutoSize),
      ListBoxLanguage(*this, 12, 56, 121, 89), MemoWelcome(*this, 144, 40, 401, 193),
      m_Choice(choice)
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
}

void TFormStepWelcome::FormShow()
{
    m_bGoOn = true;
    MemoWelcome.SetText(gls_Usage.GetText());
}

bool TFormStepWelcome::ListLanguages(const TxCollection& languages, const TxString& sDefault)
{
    ListBoxLanguage.Clear();
    for (int i = 0; i < languages.GetCount(); ++i)
    {
        const auto* pLanguage = static_cast<const COneLanguage*>(languages.At(i));
        ListBoxLanguage.AddItem(pLanguage->sLanguage.GetText(), pLanguage->LangId);
    }
    int iDefault = ListBoxLanguage.FindExact(sDefault.GetText());
    if (iDefault < 0)
        return false;
    ListBoxLanguage.SetItemIndex(iDefault);
    ListBoxLanguageClick();
    return true;
}

void TFormStepWelcome::ListBoxLanguageClick()
{
    int iIndex = ListBoxLanguage.ItemIndex();
    if (iIndex < 0)
        return;
    m_Choice.LanguageChosen(ListBoxLanguage.ItemText(iIndex),
                            static_cast<WORD>(ListBoxLanguage.ItemData(iIndex)));
}
