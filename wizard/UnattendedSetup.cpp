#include "UnattendedSetup.h"

#include "CLog.h"
#include "CSetupDatFile.h"
#include "Environment.h"
#include "ExitCodes.h"
#include "FolderNames.h"
#include "ImageInfo.h"
#include "InstallBackup.h"
#include "InstallChecks.h"
#include "ProgramFolderCheck.h"
#include "InstallHistory.h"
#include "LanguageChoice.h"
#include "ProgramStart.h"
#include "SetupArchive.h"
#include "SetupState.h"
#include "ShortcutDefaults.h"
#include "SpaceInfo.h"
#include "TxPaths.h"
#include "UnattendedMessages.h"
#include "UninstallLog.h"

#include <ctime>
#include <exception>

namespace
{
// Runs the copy engine's posted steps in a plain loop instead of through
// window messages; with /SILENT its window gets its input once per file,
// where the install step handles Stop.
class CUnattendedInstallView : public IInstallView
{
public:
    CUnattendedInstallView(IMessageView& messages, IUnattendedProgress* pProgress)
        : m_Messages(messages), m_pProgress(pProgress)
    {
    }

    int ShowMessage(const char* pszText, const char* pszCaption, unsigned uFlags) override
    {
        return m_Messages.ShowMessage(pszText, pszCaption, uFlags);
    }
    void ShowProgressControls() override
    {
        if (m_pProgress != nullptr)
            m_pProgress->Begin();
    }
    void DisableNavigation() override {}
    void SetProgress(int iPercent, const char* pszLabel) override
    {
        if (m_pProgress != nullptr)
            m_pProgress->SetProgress(iPercent, pszLabel);
    }
    void SetCurrentFile(const char* pszTarget) override
    {
        if (m_pProgress != nullptr)
            m_pProgress->SetFile(pszTarget);
    }
    void ProcessMessages() override
    {
        // Cancel asks nothing: it stops as Stop answered Yes does.
        if (m_pProgress != nullptr && m_pProgress->ProcessMessages() && m_pEngine != nullptr &&
            !m_pEngine->Stopped())
        {
            TX_LOG("RunUnattendedSetup - stopped by Cancel in the progress window");
            m_pEngine->SetStopped();
        }
    }
    void PostInstallStep() override { ++m_iPosted; }
    void CloseStep() override {}

    void Run(CCopyEngine& engine)
    {
        m_pEngine = &engine;
        while (m_iPosted > 0 && !engine.Stopped())
        {
            --m_iPosted;
            engine.DoInstallStep();
        }
        m_pEngine = nullptr;
    }

private:
    IMessageView& m_Messages;
    IUnattendedProgress* m_pProgress;
    CCopyEngine* m_pEngine = nullptr;
    int m_iPosted = 0;
};

// The options and images steps' Next: the folders as they store them, the
// free space on their drives and the bytes the chosen images need.
void ApplyFolders(const CSetupSwitches& switches, const UnattendedChoices& choices)
{
    if (!switches.sDir.IsEmpty())
        g_sDstDir = TrimTargetFolder(switches.sDir.GetText());
    g_qwFreeDst = FreeBytesOnDrive(DrivePart(g_sDstDir.GetText()).GetText());
    int iImageCount = g_ImageFiles.GetCount();
    if (iImageCount == 0)
        return;
    if (!switches.sImageDir.IsEmpty())
        g_sImgDstDir = switches.sImageDir;
    g_qwFreeImg = FreeBytesOnDrive(DrivePart(g_sImgDstDir.GetText()).GetText());
    g_qwImgInstallSize =
        ImageInstallSize(choices.images, g_qwImgSize, iImageCount, choices.iRandomCount);
}

bool PassChecks(const UnattendedChoices& choices, IMessageView& messages)
{
    bool bImageStep = g_ImageFiles.GetCount() > 0;
    bool bImages = bImageStep && choices.images != IMAGES_NONE;
    // The install step compares the drives the options and images steps
    // showed; without images there is no images step and no image drive.
    bool bSameDrive =
        bImageStep && DrivePart(g_sDstDir.GetText()).IsEqual(DrivePart(g_sImgDstDir.GetText()));
    CSystemRightsProbes probes;
    CSystemProgramFolder folder;
    InstallCheckContext context = {g_sDstDir.GetText(),
                                   bImages ? g_sImgDstDir.GetText() : nullptr,
                                   g_sWindowsDir.GetText(),
                                   g_sSystemDir.GetText(),
                                   bSameDrive,
                                   g_qwPrgSize,
                                   g_qwImgInstallSize,
                                   g_qwFreeDst,
                                   g_qwFreeImg,
                                   probes,
                                   messages,
                                   folder};
    return RunInstallChecks(context);
}

// The install step's Start and the finish step's work after it.
int Install(const UnattendedChoices& choices, IMessageView& messages,
            IUnattendedProgress* pProgress)
{
    CUnattendedInstallView view(messages, pProgress);
    CCopyEngine engine(view, g_SetupDat);
    int iCode = SETUP_EXIT_FAILED;
    try
    {
        engine.Start(choices.images, choices.iRandomCount,
                     static_cast<uint32_t>(std::time(nullptr)), choices.iStartMenu,
                     choices.iDesktop);
        view.Run(engine);
        iCode = InstallExitCode(engine.Completed(), engine.Stopped(), engine.Failed());
    }
    catch (const std::exception& e)
    {
        TX_LOG("RunUnattendedSetup - exception while installing: %s", e.what());
    }
    if (iCode == SETUP_EXIT_SUCCESS)
    {
        SaveUninstallInfo();
        DiscardKept();
    }
    else
        RollBack();
    if (pProgress != nullptr)
        pProgress->End();
    return iCode;
}

int RunWithArchive(const CSetupSwitches& switches, IMessageView& messages,
                   IUnattendedProgress* pProgress)
{
    if (!OpenSetupArchive(g_SetupDat, messages))
        return SETUP_EXIT_FAILED;
    UnattendedChoices choices =
        ChoicesFromSwitches(switches, g_ImageFiles.GetCount(), IsNtFamily());
    ApplyFolders(switches, choices);
    TX_LOG("RunUnattendedSetup - choices: dir=%s, imagedir=%s, images=%d, count=%d, "
           "startmenu=%d, desktop=%d",
           g_sDstDir.GetText(), g_sImgDstDir.GetText(), static_cast<int>(choices.images),
           choices.iRandomCount, choices.iStartMenu, choices.iDesktop);
    if (!PassChecks(choices, messages))
        return SETUP_EXIT_FAILED;
    int iCode = Install(choices, messages, pProgress);
    if (iCode == SETUP_EXIT_SUCCESS && switches.bRunManager)
        StartProgramAsUser(JoinPath(g_sDstDir.GetText(), MANAGER_FILE_NAME).GetText());
    return iCode;
}
} // namespace

UnattendedChoices ChoicesFromSwitches(const CSetupSwitches& switches, int iImageCount, bool bNt)
{
    UnattendedChoices choices = {IMAGES_RANDOM, iImageCount, DefaultStartMenuChoice(bNt),
                                 DEFAULT_DESKTOP_CHOICE};
    if (switches.iImages == SWITCH_IMAGES_NONE)
        choices.images = IMAGES_NONE;
    else if (switches.iImages == SWITCH_IMAGES_ALL)
        choices.images = IMAGES_ALL;
    else if (switches.iImages > 0)
        choices.iRandomCount = switches.iImages < iImageCount ? switches.iImages : iImageCount;
    if (switches.iStartMenu != SWITCH_NOT_GIVEN)
        choices.iStartMenu = switches.iStartMenu;
    if (switches.iDesktop != SWITCH_NOT_GIVEN)
        choices.iDesktop = switches.iDesktop;
    if (!bNt)
    {
        // 9x: one Start menu and one desktop, reached as the current user's.
        if (choices.iStartMenu == SHORTCUT_ALL_USERS)
            choices.iStartMenu = SHORTCUT_CURRENT_USER;
        if (choices.iDesktop == SHORTCUT_ALL_USERS)
            choices.iDesktop = SHORTCUT_CURRENT_USER;
    }
    return choices;
}

int RunUnattendedSetup(const CSetupSwitches& switches, IMessageView* pBoxes,
                       IUnattendedProgress* pProgress)
{
    CUnattendedMessages messages(pBoxes);
    int iCode = SETUP_EXIT_FAILED;
    try
    {
        PrepareEnvironment(TxProgramPath().GetText());
        LoadStartLanguage(switches.sLanguage.GetText());
        iCode = RunWithArchive(switches, messages, pProgress);
    }
    catch (const std::exception& e)
    {
        TX_LOG("RunUnattendedSetup - exception: %s", e.what());
    }
    g_SetupDat.CloseDatFile();
    return iCode;
}
