// Walks the real Setup.exe through every step with the default choices and
// saves a picture of each dialog: used by scripts/run-setup on a virtual
// display and by scripts/screenshots.
//
//   setup_walk.exe MEDIUM_FOLDER SHOTS_FOLDER [dialogs] [dpi=N] [language=NAME]
//
// With "dialogs" it also opens the folder chooser and the new-folder dialog,
// and removes the installation again at the end. "dpi=N" runs the setup on a
// screen of N DPI; "language=Deutsch" picks German on the welcome step.
#include "E2eFiles.h"
#include "LogCollector.h"
#include "MessagePump.h"
#include "ProductState.h"
#include "ScreenShot.h"
#include "UserActions.h"
#include "WindowQuery.h"
#include "WineScreenDpi.h"
#include "WineWindowMode.h"
#include "WizardDriver.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace
{
// The copy picture is taken while the setup waits for this log line.
constexpr int COPY_SHOT_AT_FILE = 4;
constexpr DWORD PAINT_DELAY_MS = 400;

class Walk
{
public:
    Walk(const std::string& sMedium, const std::string& sShots, const std::string& sLanguage)
        : m_sMedium(sMedium), m_sShots(sShots), m_sLanguage(sLanguage)
    {
    }

    bool Run(bool bDialogs);

private:
    bool Fail(const char* pszWhat)
    {
        std::printf("setup_walk: %s\n", pszWhat);
        return false;
    }
    void Shot(HWND hWnd, const char* pszName)
    {
        PumpFor(PAINT_DELAY_MS);
        std::string sPath = JoinPath(m_sShots, std::string(pszName) + ".bmp");
        bool bSaved = hWnd != nullptr ? SaveWindowShot(hWnd, sPath) : SaveWholeScreen(sPath);
        std::printf("setup_walk: %s %s\n", bSaved ? "saved" : "could not save", sPath.c_str());
    }
    bool ShowFolderDialogs(HWND hOptions);
    void ShootWhileCopying(HWND hInstall);

    bool PickLanguage(HWND hWelcome);

    std::string m_sMedium;
    std::string m_sShots;
    std::string m_sLanguage;
    // Receives the setup's lines, not the driver's own.
    LogCollector m_Log{false};
    WizardDriver m_Wizard;
};

bool Walk::ShowFolderDialogs(HWND hOptions)
{
    const UiTexts& t = m_Wizard.Texts();
    HWND hTree = m_Wizard.PressAndWait(hOptions, "...", TREE_CLASS);
    if (hTree == nullptr)
        return Fail("no folder chooser");
    Shot(hTree, "folder-chooser");
    HWND hNewFolder = m_Wizard.PressAndWait(hTree, t.sNewFolder, NEW_FOLDER_CLASS);
    if (hNewFolder == nullptr)
        return Fail("no new-folder dialog");
    TypeText(FindChild(hNewFolder, "Edit", ""), "Wallpapers");
    Shot(hNewFolder, "new-folder");
    if (m_Wizard.PressAndWait(hNewFolder, t.sCancel, TREE_CLASS) == nullptr ||
        m_Wizard.PressAndWait(hTree, t.sCancel, OPTIONS_CLASS) == nullptr)
        return Fail("the folder dialogs did not close");
    return true;
}

void Walk::ShootWhileCopying(HWND hInstall)
{
    int iCopies = 0;
    m_Log.SetObserver(
        [this, hInstall, &iCopies](const std::string& sMessage)
        {
            if (sMessage.compare(0, 8, "Copying ") == 0 && ++iCopies == COPY_SHOT_AT_FILE)
            {
                std::string sPath = JoinPath(m_sShots, "copying.bmp");
                SaveWindowShot(hInstall, sPath);
                std::printf("setup_walk: saved %s\n", sPath.c_str());
            }
        });
}

bool Walk::PickLanguage(HWND hWelcome)
{
    if (m_sLanguage.empty())
        return true;
    if (!PickListItem(FindChild(hWelcome, "ListBox", ""), m_sLanguage))
        return Fail("the language is not in the list");
    return true;
}

bool Walk::Run(bool bDialogs)
{
    if (m_sLanguage == "Deutsch")
        m_Wizard.SetTexts(GermanTexts());
    else if (!m_sLanguage.empty() && m_sLanguage != "English")
        return Fail("the walk knows the texts of English and Deutsch only");
    const UiTexts& t = m_Wizard.Texts();
    if (!m_Log.IsReady() || !m_Wizard.Start(JoinPath(m_sMedium, "Setup.exe"), m_sMedium))
        return Fail("cannot start Setup.exe");
    HWND hWelcome = m_Wizard.WaitForStep(WELCOME_CLASS);
    if (hWelcome == nullptr)
        return Fail("no welcome step");
    if (!PickLanguage(hWelcome))
        return false;
    Shot(nullptr, "background");
    Shot(hWelcome, "welcome");
    HWND hOptions = m_Wizard.PressAndWait(hWelcome, t.sNext, OPTIONS_CLASS);
    if (hOptions == nullptr)
        return Fail("no options step");
    Shot(hOptions, "options");
    if (bDialogs && !ShowFolderDialogs(hOptions))
        return false;
    m_Wizard.Press(hOptions, t.sNext);
    HWND hImages = m_Wizard.WaitForStep(IMAGES_CLASS, 2000);
    if (hImages != nullptr)
    {
        Shot(hImages, "images");
        m_Wizard.Press(hImages, t.sNext);
    }
    HWND hInstall = m_Wizard.WaitForInstallStep();
    if (hInstall == nullptr || HasMessageBox(m_Wizard.ProcessId()))
        return Fail("the install step is not ready");
    Shot(hInstall, "install");
    ShootWhileCopying(hInstall);
    m_Wizard.Press(hInstall, t.sStart);
    HWND hBye = m_Wizard.WaitForStep(BYE_CLASS, 60000);
    m_Log.SetObserver(nullptr);
    if (hBye == nullptr)
        return Fail("no finish step");
    Shot(hBye, "finish");
    HWND hCheck = FindChild(hBye, "Button", t.sRunManagerNow);
    if (bDialogs && hCheck != nullptr && IsChecked(hCheck))
        ClickAndWait(hCheck);
    m_Wizard.Press(hBye, t.sClose);
    if (!m_Wizard.WaitForExit(15000))
        return Fail("the setup did not end");
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
    {
        std::printf(
            "usage: setup_walk MEDIUM_FOLDER SHOTS_FOLDER [dialogs] [dpi=N] [language=NAME]\n");
        return 2;
    }
    bool bDialogs = false;
    DWORD dwDpi = 0;
    std::string sLanguage;
    for (int i = 3; i < argc; ++i)
    {
        if (std::strcmp(argv[i], "dialogs") == 0)
            bDialogs = true;
        else if (std::strncmp(argv[i], "dpi=", 4) == 0)
            dwDpi = std::strtoul(argv[i] + 4, nullptr, 10);
        else if (std::strncmp(argv[i], "language=", 9) == 0)
            sLanguage = argv[i] + 9;
        else
        {
            std::printf("setup_walk: unknown argument %s\n", argv[i]);
            return 2;
        }
    }
    WineWindowMode windowMode;
    std::unique_ptr<WineScreenDpi> pDpi;
    if (dwDpi != 0)
        pDpi = std::make_unique<WineScreenDpi>(dwDpi);
    // The pictures take the setup's windows in the screen's pixels.
    ScreenPixelsView view;
    if (!MakeFolders(argv[2]))
        return 1;
    bool bDone = Walk(argv[1], argv[2], sLanguage).Run(bDialogs);
    if (bDialogs)
        RemoveProduct(ProductPaths::Defaults());
    std::fflush(stdout);
    return bDone ? 0 : 1;
}
