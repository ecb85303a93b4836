// The setup's entry: the GUI application, then the wizard or an
// installation without it (SetupEntry decides which).
#include "DllSearch.h"
#include "ExitCodes.h"
#include "MessageBoxView.h"
#include "SetupEntry.h"
#include "TFormMain.h"
#include "TFormSilentProgress.h"
#include "TxApplication.h"
#include "WizardForms.h"

#include <memory>

namespace
{
constexpr char APPLICATION_TITLE[] = "Quorvane Setup";

class CSetupFrontEnd : public ISetupFrontEnd
{
public:
    int RunWizard() override
    {
        try
        {
            CWizardForms forms;
            Application.Run(*FormMain);
            return FormMain->m_Steps.ExitCode();
        }
        catch (const std::exception& e)
        {
            Application.ShowException(e);
            return SETUP_EXIT_FAILED;
        }
    }

    IUnattendedProgress* ProgressWindow() override
    {
        try
        {
            m_pProgress = std::make_unique<TFormSilentProgress>();
        }
        catch (const std::exception&)
        {
            // The installation goes on without its window; the failure is logged.
            return nullptr;
        }
        return m_pProgress.get();
    }

    IMessageView& Boxes() override { return m_Boxes; }

private:
    CMessageBoxView m_Boxes;
    std::unique_ptr<TFormSilentProgress> m_pProgress;
};
} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR pszArguments, int)
{
    // Before anything can load a library.
    RestrictDllSearch();
    Application.Initialize();
    Application.SetTitle(APPLICATION_TITLE);
    CSetupFrontEnd frontEnd;
    return RunSetupProcess(pszArguments, frontEnd);
}
