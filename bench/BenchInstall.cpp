#include "BenchInstall.h"

#include "CSetupDatFile.h"
#include "CopyEngine.h"
#include "Environment.h"
#include "InstallHistory.h"
#include "LanguageCatalogue.h"
#include "PostInstall.h"
#include "RegistryHelpers.h"
#include "SetupArchive.h"
#include "SetupState.h"
#include "StringTables.h"

#include <windows.h>

namespace
{
// Runs the posted steps as the message loop would; any box is a failure.
class QuietInstallView : public IInstallView
{
public:
    int ShowMessage(const char* pszText, const char* pszCaption, unsigned) override
    {
        Die(std::string("the engine showed a box: ") + pszCaption + ": " + pszText);
    }
    void ShowProgressControls() override {}
    void DisableNavigation() override {}
    void SetProgress(int, const char*) override {}
    void ProcessMessages() override {}
    void PostInstallStep() override { ++m_iPosted; }
    void CloseStep() override {}

    void Run(CCopyEngine& engine)
    {
        while (m_iPosted > 0)
        {
            --m_iPosted;
            engine.DoInstallStep();
        }
    }

private:
    int m_iPosted = 0;
};
} // namespace

void OpenMedium(const std::string& sMedium, const BenchFolder& target)
{
    SetDefaultTexts();
    g_sLangEName = "ENGLISH";
    PrepareEnvironment((sMedium + "\\Setup.exe").c_str());
    g_sDstDir = (target / "Program Files\\Quorvane").c_str();
    g_sImgDstDir = (target / "Pictures\\Quorvane").c_str();
    QuietInstallView openView;
    if (!OpenSetupArchive(g_SetupDat, openView))
        Die("OpenSetupArchive failed");
}

void InstallOnce()
{
    QuietInstallView view;
    CCopyEngine engine(view, g_SetupDat);
    engine.Start(IMAGES_ALL, 0, 1, SHORTCUT_NONE, SHORTCUT_NONE);
    view.Run(engine);
    if (engine.Failed() || !engine.Completed())
        Die("the installation failed");
}

void UndoInstall()
{
    RollBack();
    g_History.FreeAll();
    RegistryDeleteValue(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, "InstalledPrgDir");
    RegistryDeleteValue(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, "InstalledImgDir");
}

void CloseMedium()
{
    g_SetupDat.CloseDatFile();
}
