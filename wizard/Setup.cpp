// The setup's entry: the GUI application, the forms in their fixed order
// and the message loop.
#include "DllSearch.h"
#include "TFormMain.h"
#include "TFormNewFolder.h"
#include "TFormStepBye.h"
#include "TFormStepInstall.h"
#include "TFormStepOptions.h"
#include "TFormStepPhotos.h"
#include "TFormStepWelcome.h"
#include "TFormTree.h"
#include "TxApplication.h"

#include <memory>

namespace
{
constexpr char APPLICATION_TITLE[] = "Quorvane Setup";

// Each form lives from its creation until the message loop has ended.
struct Forms
{
    std::unique_ptr<TFormMain> main;
    std::unique_ptr<TFormStepBye> bye;
    std::unique_ptr<TFormStepWelcome> welcome;
    std::unique_ptr<TFormStepOptions> options;
    std::unique_ptr<TFormStepPhotos> photos;
    std::unique_ptr<TFormStepInstall> install;
    std::unique_ptr<TFormTree> tree;
    std::unique_ptr<TFormNewFolder> newFolder;

    ~Forms()
    {
        FormMain = nullptr;
        FormStepBye = nullptr;
        FormStepWelcome = nullptr;
        FormStepOptions = nullptr;
        FormStepPhotos = nullptr;
        FormStepInstall = nullptr;
        FormTree = nullptr;
        FormNewFolder = nullptr;
    }
};

template <class T> T* Create(std::unique_ptr<T>& form)
{
    form = std::make_unique<T>();
    return form.get();
}

void RunSetup()
{
    Forms forms;
    FormMain = Create(forms.main);
    FormStepBye = Create(forms.bye);
    FormStepWelcome = Create(forms.welcome);
    FormStepOptions = Create(forms.options);
    FormStepPhotos = Create(forms.photos);
    FormStepInstall = Create(forms.install);
    FormTree = Create(forms.tree);
    FormNewFolder = Create(forms.newFolder);
    Application.Run(*FormMain);
}
} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // Before anything can load a library.
    RestrictDllSearch();
    Application.Initialize();
    Application.SetTitle(APPLICATION_TITLE);
    try
    {
        RunSetup();
    }
    catch (const std::exception& e)
    {
        Application.ShowException(e);
    }
    return 0;
}
