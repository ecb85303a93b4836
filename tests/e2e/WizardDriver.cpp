#include "WizardDriver.h"

#include "MessagePump.h"
#include "WindowQuery.h"

const UiTexts& EnglishTexts()
{
    static const UiTexts texts = {
        "Quorvane 1.04 Setup",
        "Welcome",
        "Install Options",
        "Images",
        "Ready to install",
        "Not ready to install",
        "Installation Complete",
        "Next  >",
        "<  Previous",
        "Cancel",
        "Close",
        "Start",
        "Stop",
        "OK",
        "Are you sure you want to cancel the installation?",
        "Cancel Request",
        "Stop Requested",
        "Installation completed successfully.\n\n Quorvane Manager must be run to configure the "
        "wallpaper change.",
        "Installation was unsuccessful. The program will not be functional until you install it "
        "again.",
        "Installation was unsuccessful. The earlier installation has been kept and works as "
        "before.",
        "Run Quorvane Manager now",
        "Error",
        "New folder",
    };
    return texts;
}

// Windows-1252, as the language file and the setup's windows hold them.
const UiTexts& GermanTexts()
{
    static const UiTexts texts = {
        "Quorvane 1.04 Setup",
        "Willkommen",
        "Installationsoptionen",
        "Bilder",
        "Bereit zur Installation",
        "Nicht bereit zur Installation",
        "Installation abgeschlossen",
        "Weiter  >",
        "<  Zur\xFC"
        "ck",
        "Abbrechen",
        "Schlie\xDF"
        "en",
        "Starten",
        "Stopp",
        "OK",
        "M\xF6"
        "chten Sie die Installation wirklich abbrechen?",
        "Installation abbrechen",
        "Abbruch angefordert",
        "Die Installation wurde erfolgreich abgeschlossen.\n\nStarten Sie Quorvane Manager, um den "
        "Wechsel der Hintergrundbilder einzurichten.",
        "Die Installation ist fehlgeschlagen. Das Programm ist erst nach einer erneuten "
        "Installation funktionsf\xE4hig.",
        "Die Installation ist fehlgeschlagen. Die bisherige Installation wurde beibehalten und "
        "funktioniert wie zuvor.",
        "Quorvane Manager jetzt starten",
        "Fehler",
        "Neuer Ordner",
    };
    return texts;
}

bool WizardDriver::Start(const std::string& sSetupExe, const std::string& sCurrentFolder)
{
    return m_Process.Start(sSetupExe, "", sCurrentFolder);
}

HWND WizardDriver::Visible(const char* pszClass) const
{
    return FindTopWindow(m_Process.Id(), pszClass);
}

HWND WizardDriver::WaitForStep(const char* pszClass, DWORD dwTimeout) const
{
    HWND hStep = nullptr;
    auto bReady = [&]
    {
        hStep = Visible(pszClass);
        // A sent message is handled once the dialog's thread takes messages
        // again, mostly after the step's show handler has run.
        DWORD_PTR dwResult = 0;
        return hStep != nullptr &&
               SendMessageTimeoutA(hStep, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &dwResult) &&
               IsWindowEnabled(hStep) && !HasMessageBox(m_Process.Id());
    };
    return WaitUntil(bReady, dwTimeout) ? hStep : nullptr;
}

HWND WizardDriver::WaitForInstallStep() const
{
    HWND hInstall = nullptr;
    // The step checks rights and space before it shows: it is settled once it
    // is shown ready or a check has put up its box.
    auto bSettled = [&]
    {
        if (HasMessageBox(m_Process.Id()))
        {
            hInstall = FindFormWindow(m_Process.Id(), INSTALL_CLASS);
            return hInstall != nullptr;
        }
        hInstall = Visible(INSTALL_CLASS);
        return hInstall != nullptr && Title(hInstall) == m_pTexts->sReadyToInstall;
    };
    return WaitUntil(bSettled, 15000) ? hInstall : nullptr;
}

HWND WizardDriver::Button(HWND hDialog, const std::string& sText) const
{
    return hDialog == nullptr ? nullptr : FindChild(hDialog, "Button", sText);
}

bool WizardDriver::Press(HWND hDialog, const std::string& sText) const
{
    return Click(Button(hDialog, sText));
}

HWND WizardDriver::PressAndWait(HWND hDialog, const std::string& sText, const char* pszNext) const
{
    if (!Press(hDialog, sText))
        return nullptr;
    return WaitForStep(pszNext);
}

MessageBoxInfo WizardDriver::WaitForBox(DWORD dwTimeout) const
{
    return WaitForMessageBox(m_Process.Id(), dwTimeout);
}

std::string WizardDriver::Title(HWND hStep) const
{
    // The heading is the static highest up in the dialog, at its top-left
    // corner (8, 8 at 96 DPI); the other texts begin lower down.
    HWND hTitle = nullptr;
    RECT rcTitle = {0, 0, 0, 0};
    for (HWND hChild : Children(hStep))
    {
        if (lstrcmpiA(ClassOf(hChild).c_str(), "Static") != 0 || !IsWindowVisible(hChild))
            continue;
        RECT rc;
        GetWindowRect(hChild, &rc);
        if (hTitle == nullptr || rc.top < rcTitle.top ||
            (rc.top == rcTitle.top && rc.left < rcTitle.left))
        {
            hTitle = hChild;
            rcTitle = rc;
        }
    }
    return hTitle != nullptr ? WindowText(hTitle) : std::string();
}
