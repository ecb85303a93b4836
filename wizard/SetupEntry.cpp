#include "SetupEntry.h"

#include "CLog.h"
#include "ExitCodes.h"
#include "IMessageView.h"
#include "LanguageChoice.h"
#include "ProductNames.h"
#include "SetupInstance.h"
#include "SetupSwitches.h"
#include "StringTables.h"
#include "TxFormat.h"
#include "UnattendedSetup.h"
#include "WizardCaption.h"

#include <windows.h>

namespace
{
int RunWizardAlone(ISetupFrontEnd& frontEnd)
{
    CSetupInstanceLock lock(SETUP_MUTEX_NAME);
    if (!lock.OtherSetupRunning())
        return frontEnd.RunWizard();
    TX_LOG("RunSetupProcess - another setup is running");
    LoadStartLanguage("");
    frontEnd.Boxes().ShowMessage(gls_SetupRunning.GetText(), gls_Error.GetText(),
                                 MB_OK | MB_ICONEXCLAMATION);
    return SETUP_EXIT_ALREADY_RUNNING;
}

// A run with switches, up to the wizard or the installation without it.
class CSwitchedRun
{
public:
    CSwitchedRun(const CSetupSwitches& switches, ISetupFrontEnd& frontEnd)
        : m_Switches(switches), m_FrontEnd(frontEnd)
    {
    }

    int Run(bool bValid, const TxString& sBadSwitch, const char* pszArguments);

private:
    bool OpenLog();
    // The texts of a box come from the language the run installs in, read
    // only when a box is to be shown.
    bool WillShowBox();
    void ShowError(const TxString& sText);
    int Finish(int iCode);

    const CSetupSwitches& m_Switches;
    ISetupFrontEnd& m_FrontEnd;
    bool m_bTextsLoaded = false;
};

bool CSwitchedRun::OpenLog()
{
    if (m_Switches.sLogFile.IsEmpty() || g_Log.OpenFile(m_Switches.sLogFile.GetText()))
        return true;
    DWORD dwError = GetLastError();
    TX_LOG("RunSetupProcess - log file cannot be opened: path=%s, error=%lu",
           m_Switches.sLogFile.GetText(), dwError);
    return false;
}

bool CSwitchedRun::WillShowBox()
{
    if (m_Switches.bSuppressMsgBoxes)
        return false;
    if (!m_bTextsLoaded)
        LoadStartLanguage(m_Switches.sLanguage.GetText());
    m_bTextsLoaded = true;
    return true;
}

void CSwitchedRun::ShowError(const TxString& sText)
{
    m_FrontEnd.Boxes().ShowMessage(sText.GetText(), gls_Error.GetText(),
                                   MB_OK | MB_ICONEXCLAMATION);
}

int CSwitchedRun::Finish(int iCode)
{
    TX_LOG("Setup exit code: %d", iCode);
    g_Log.CloseFile();
    return iCode;
}

int CSwitchedRun::Run(bool bValid, const TxString& sBadSwitch, const char* pszArguments)
{
    if (!bValid)
    {
        // The log file, when one is named well, says why nothing was done.
        OpenLog();
        TX_LOG("RunSetupProcess - switch not valid: %s", sBadSwitch.GetText());
        if (WillShowBox())
            ShowError(TxFormat(gls_InvalidSwitchS.GetText(), {sBadSwitch}));
        return Finish(SETUP_EXIT_INVALID_SWITCH);
    }
    if (m_Switches.bHelp)
    {
        if (WillShowBox())
            m_FrontEnd.Boxes().ShowMessage(gls_SwitchHelp.GetText(), WizardCaption().GetText(),
                                           MB_OK | MB_ICONINFORMATION);
        return SETUP_EXIT_SUCCESS;
    }
    CSetupInstanceLock lock(SETUP_MUTEX_NAME);
    if (lock.OtherSetupRunning())
    {
        OpenLog();
        TX_LOG("RunSetupProcess - another setup is running");
        if (WillShowBox())
            ShowError(gls_SetupRunning);
        return Finish(SETUP_EXIT_ALREADY_RUNNING);
    }
    if (!OpenLog())
    {
        if (WillShowBox())
            ShowError(TxFormat(gls_CannotCreateLogS.GetText(), {m_Switches.sLogFile}));
        return Finish(SETUP_EXIT_FAILED);
    }
    TX_LOG("RunSetupProcess - switches: %s", pszArguments);
    int iCode = SETUP_EXIT_FAILED;
    if (!m_Switches.Unattended())
        iCode = m_FrontEnd.RunWizard();
    else
    {
        IMessageView* pBoxes = m_Switches.bSuppressMsgBoxes ? nullptr : &m_FrontEnd.Boxes();
        IUnattendedProgress* pProgress =
            m_Switches.bVerySilent ? nullptr : m_FrontEnd.ProgressWindow();
        iCode = RunUnattendedSetup(m_Switches, pBoxes, pProgress);
    }
    return Finish(iCode);
}
} // namespace

int RunSetupProcess(const char* pszArguments, ISetupFrontEnd& frontEnd)
{
    CSetupSwitches switches;
    TxString sBadSwitch;
    bool bValid = ParseSetupSwitches(pszArguments, switches, sBadSwitch);
    if (!switches.bAny)
        return RunWizardAlone(frontEnd);
    CSwitchedRun run(switches, frontEnd);
    return run.Run(bValid, sBadSwitch, pszArguments);
}
