#include "WizardForms.h"

#include "LanguageCatalogue.h"
#include "TFormMain.h"
#include "TFormNewFolder.h"
#include "TFormStepBye.h"
#include "TFormStepInstall.h"
#include "TFormStepOptions.h"
#include "TFormStepPhotos.h"
#include "TFormStepWelcome.h"
#include "TFormTree.h"
#include "WizardCaption.h"

namespace
{
template <class T> T* Create(std::unique_ptr<T>& pForm)
{
    pForm = std::make_unique<T>();
    return pForm.get();
}
} // namespace

CWizardForms::CWizardForms()
    : m_pMain(std::make_unique<TFormMain>(*this)),
      m_pWelcome(std::make_unique<TFormStepWelcome>(static_cast<ILanguageChoice&>(*this)))
{
    FormMain = m_pMain.get();
    FormStepWelcome = m_pWelcome.get();
}

// The members go after the variables are cleared, newest first.
CWizardForms::~CWizardForms()
{
    DestroyRemaining();
    FormStepWelcome = nullptr;
    FormMain = nullptr;
}

void CWizardForms::CreateRemaining()
{
    if (m_pBye != nullptr)
        return;
    // All or none: the other forms take the six as made once the first is.
    try
    {
        FormStepBye = Create(m_pBye);
        FormStepOptions = Create(m_pOptions);
        FormStepPhotos = Create(m_pPhotos);
        FormStepInstall = Create(m_pInstall);
        FormTree = Create(m_pTree);
        FormNewFolder = Create(m_pNewFolder);
    }
    catch (...)
    {
        DestroyRemaining();
        throw;
    }
    SetCaptions();
}

void CWizardForms::ApplyLanguage(const TxString& sName, WORD wLangId)
{
    SwitchLanguage(sName, wLangId);
    SetCaptions();
}

void CWizardForms::SetCaptions()
{
    TxString sCaption = WizardCaption();
    m_pMain->SetCaption(sCaption.GetText());
    m_pWelcome->SetTexts(sCaption);
    if (m_pBye == nullptr)
        return;
    m_pOptions->SetTexts(sCaption);
    m_pPhotos->SetTexts(sCaption);
    m_pInstall->SetTexts(sCaption);
    m_pBye->SetTexts(sCaption);
    m_pTree->SetTexts();
    m_pNewFolder->SetTexts();
}

void CWizardForms::LanguageChosen(const TxString& sName, WORD wLangId)
{
    ApplyLanguage(sName, wLangId);
}

// The forms made after the welcome step, newest first.
void CWizardForms::DestroyRemaining()
{
    FormNewFolder = nullptr;
    FormTree = nullptr;
    FormStepInstall = nullptr;
    FormStepPhotos = nullptr;
    FormStepOptions = nullptr;
    FormStepBye = nullptr;
    m_pNewFolder.reset();
    m_pTree.reset();
    m_pInstall.reset();
    m_pPhotos.reset();
    m_pOptions.reset();
    m_pBye.reset();
}
