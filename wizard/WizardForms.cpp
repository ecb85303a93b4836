#include "WizardForms.h"

#include "TFormMain.h"
#include "TFormNewFolder.h"
#include "TFormStepBye.h"
#include "TFormStepInstall.h"
#include "TFormStepOptions.h"
#include "TFormStepPhotos.h"
#include "TFormStepWelcome.h"
#include "TFormTree.h"

#include <memory>

namespace
{
// Declared in creation order, so that they are destroyed in reverse.
struct Forms
{
    std::unique_ptr<TFormMain> main;
    std::unique_ptr<TFormStepWelcome> welcome;
    std::unique_ptr<TFormStepBye> bye;
    std::unique_ptr<TFormStepOptions> options;
    std::unique_ptr<TFormStepPhotos> photos;
    std::unique_ptr<TFormStepInstall> install;
    std::unique_ptr<TFormTree> tree;
    std::unique_ptr<TFormNewFolder> newFolder;
};

Forms* g_pForms = nullptr;

template <class T> T* Create(std::unique_ptr<T>& form)
{
    form = std::make_unique<T>();
    return form.get();
}

// Destroys the forms made after the welcome step, newest first.
void DestroyRemainingForms(Forms& forms)
{
    FormNewFolder = nullptr;
    FormTree = nullptr;
    FormStepInstall = nullptr;
    FormStepPhotos = nullptr;
    FormStepOptions = nullptr;
    FormStepBye = nullptr;
    forms.newFolder.reset();
    forms.tree.reset();
    forms.install.reset();
    forms.photos.reset();
    forms.options.reset();
    forms.bye.reset();
}
} // namespace

CWizardForms::CWizardForms()
{
    auto pForms = std::make_unique<Forms>();
    pForms->main = std::make_unique<TFormMain>();
    pForms->welcome = std::make_unique<TFormStepWelcome>();
    FormMain = pForms->main.get();
    FormStepWelcome = pForms->welcome.get();
    g_pForms = pForms.release();
}

CWizardForms::~CWizardForms()
{
    DestroyRemainingForms(*g_pForms);
    FormStepWelcome = nullptr;
    FormMain = nullptr;
    delete g_pForms;
    g_pForms = nullptr;
}

void CreateRemainingForms()
{
    if (g_pForms == nullptr || g_pForms->bye != nullptr)
        return;
    // All or none: the other forms take the six as made once the first is.
    try
    {
        FormStepBye = Create(g_pForms->bye);
        FormStepOptions = Create(g_pForms->options);
        FormStepPhotos = Create(g_pForms->photos);
        FormStepInstall = Create(g_pForms->install);
        FormTree = Create(g_pForms->tree);
        FormNewFolder = Create(g_pForms->newFolder);
    }
    catch (...)
    {
        DestroyRemainingForms(*g_pForms);
        throw;
    }
    FormMain->SetCaptions();
}
