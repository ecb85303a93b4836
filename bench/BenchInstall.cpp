#include "BenchInstall.h"

#include "CSetupDatFile.h"
#include "CopyEngine.h"
#include "Environment.h"
#include "FakeInstallView.h"
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
// Any box the engine shows ends the benchmark.
void DieOnMessages(const CFakeInstallView& view)
{
    if (!view.m_Messages.empty())
        Die("the engine showed a box: " + view.m_Messages.front());
}
} // namespace

void OpenMedium(const std::string& sMedium, const BenchFolder& target)
{
    SetDefaultTexts();
    g_sLangEName = "ENGLISH";
    PrepareEnvironment((sMedium + "\\Setup.exe").c_str());
    g_sDstDir = (target / "Program Files\\Quorvane").c_str();
    g_sImgDstDir = (target / "Pictures\\Quorvane").c_str();
    CFakeInstallView openView;
    bool bOpened = OpenSetupArchive(g_SetupDat, openView);
    DieOnMessages(openView);
    if (!bOpened)
        Die("OpenSetupArchive failed");
}

void InstallOnce()
{
    CFakeInstallView view;
    CCopyEngine engine(view, g_SetupDat);
    engine.Start(IMAGES_ALL, 0, 1, SHORTCUT_NONE, SHORTCUT_NONE);
    view.Run(engine);
    DieOnMessages(view);
    if (engine.Failed() || !engine.Completed())
        Die("the installation failed");
}

void UndoInstall()
{
    RollBack();
    g_History.FreeAll();
    RegistryDeleteValue(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, INSTALLED_PRG_DIR_VALUE);
    RegistryDeleteValue(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, INSTALLED_IMG_DIR_VALUE);
}

void CloseMedium()
{
    g_SetupDat.CloseDatFile();
}
