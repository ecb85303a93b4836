// The setup's entry: the GUI application, the forms and the message loop.
#include "DllSearch.h"
#include "TFormMain.h"
#include "TxApplication.h"
#include "WizardForms.h"

namespace
{
constexpr char APPLICATION_TITLE[] = "Quorvane Setup";

void RunSetup()
{
    CWizardForms forms;
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
