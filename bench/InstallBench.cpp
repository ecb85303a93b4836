// The whole installation, as the copy engine runs it without a window (plan
// and all images), against a plain CopyFileA of the same files into an empty
// folder.
//
//   bench_install <medium folder>
#include "BenchSupport.h"
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

#include <cstdio>
#include <windows.h>

namespace
{
const int RUNS = 7;

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

void InstallOnce()
{
    QuietInstallView view;
    CCopyEngine engine(view, g_SetupDat);
    engine.Start(IMAGES_ALL, 0, 1, SHORTCUT_NONE, SHORTCUT_NONE);
    view.Run(engine);
    if (engine.m_bFailed || !engine.m_bGoOn)
        Die("the installation failed");
}

void UndoInstall()
{
    RollBack();
    g_History.FreeAll();
    RegistryDeleteValue(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, "InstalledPrgDir");
    RegistryDeleteValue(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, "InstalledImgDir");
}

// The files one installation puts down, copied once into a plain folder:
// the baseline's source, byte for byte what the engine wrote.
std::vector<std::string> StagePlainFiles(const BenchFolder& plain)
{
    InstallOnce();
    std::vector<std::string> names;
    for (int i = 0; i < g_History.GetCount(); ++i)
    {
        const CHistoryItem& item = *g_History.ItemAt(i);
        if (item.Kind != PRGFILE && item.Kind != IMGFILE)
            continue;
        TxString sName;
        sName.AssignFileName(item.sPath.GetText());
        std::string name = Format("%03d_%s", i, sName.GetText());
        if (!CopyFileA(item.sPath.GetText(), (plain / name).c_str(), FALSE))
            Die("CopyFileA failed for " + std::string(item.sPath.GetText()));
        names.push_back(name);
    }
    UndoInstall();
    return names;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        Die("usage: bench_install <medium folder>");
    SetDefaultTexts();
    g_sLangEName = "ENGLISH";
    PrepareEnvironment((std::string(argv[1]) + "\\Setup.exe").c_str());
    BenchFolder target("install"), plain("plain"), copy("copy");
    g_sDstDir = (target / "Program Files\\Quorvane").c_str();
    g_sImgDstDir = (target / "Pictures\\Quorvane").c_str();
    QuietInstallView openView;
    if (!OpenSetupArchive(g_SetupDat, openView))
        Die("OpenSetupArchive failed");

    std::vector<std::string> names = StagePlainFiles(plain);
    unsigned long long qwBytes = g_qwPrgSize + g_qwImgSize;
    auto prepare = [&]
    {
        UndoInstall();
        copy.Empty();
    };
    auto baseline = [&]
    {
        for (const std::string& name : names)
            if (!CopyFileA((plain / name).c_str(), (copy / name).c_str(), FALSE))
                Die("CopyFileA failed for " + name);
    };
    PairTiming t = TimePair(RUNS, prepare, InstallOnce, baseline);
    g_SetupDat.CloseDatFile();
    double dRatio = t.dCandidate / t.dBaseline;
    PrintResult(Format("Installation (%zu files, %.1f MiB)", names.size(),
                       static_cast<double>(qwBytes) / (1024.0 * 1024.0)),
                Format("%.1f ms", t.dCandidate * 1000), Format("%.1f ms", t.dBaseline * 1000),
                Format("%.2f x plain copy", dRatio), "<= 1.25", dRatio <= 1.25);
    return 0;
}
