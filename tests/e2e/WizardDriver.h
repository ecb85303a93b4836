#pragma once

#include "ChildProcess.h"
#include "UserActions.h"

#include <string>
#include <windows.h>

// Window classes of the setup's forms; every step dialog carries the same
// caption, so the class tells them apart.
constexpr char MAIN_CLASS[] = "TFormMain";
constexpr char WELCOME_CLASS[] = "TFormStepWelcome";
constexpr char OPTIONS_CLASS[] = "TFormStepOptions";
constexpr char IMAGES_CLASS[] = "TFormStepPhotos";
constexpr char INSTALL_CLASS[] = "TFormStepInstall";
constexpr char BYE_CLASS[] = "TFormStepBye";
constexpr char TREE_CLASS[] = "TFormTree";
constexpr char NEW_FOLDER_CLASS[] = "TFormNewFolder";

// The texts a user reads on the buttons and boxes, in one language.
struct UiTexts
{
    std::string sCaption;
    std::string sWelcome;
    std::string sInstallOptions;
    std::string sImages;
    std::string sReadyToInstall;
    std::string sNotReadyToInstall;
    std::string sSetupComplete;
    std::string sNext;
    std::string sPrevious;
    std::string sCancel;
    std::string sClose;
    std::string sStart;
    std::string sStop;
    std::string sOk;
    std::string sWantToCancel;
    std::string sCancelRequest;
    std::string sStopRequested;
    std::string sSetupSuccessful;
    std::string sSetupUnsuccessful;
    std::string sSetupUnsuccessfulKept; // after a rollback that left an earlier installation
    std::string sRunManagerNow;
    std::string sError;
    std::string sNewFolder;
};

const UiTexts& EnglishTexts();
const UiTexts& GermanTexts();

// Drives one run of Setup.exe as a user would: waits for its dialogs, reads
// them and presses their buttons. Every wait is bounded; the process is
// killed when the driver goes and it still runs.
class WizardDriver
{
public:
    explicit WizardDriver(const UiTexts& texts = EnglishTexts()) : m_pTexts(&texts) {}

    bool Start(const std::string& sSetupExe, const std::string& sCurrentFolder);
    DWORD ProcessId() const { return m_Process.Id(); }
    ChildProcess& Process() { return m_Process; }
    bool IsRunning() const { return m_Process.IsRunning(); }
    bool WaitForExit(DWORD dwTimeout) { return m_Process.WaitForExit(dwTimeout); }

    const UiTexts& Texts() const { return *m_pTexts; }
    void SetTexts(const UiTexts& texts) { m_pTexts = &texts; }

    // The visible dialog of that class, ready for input (no box over it);
    // null when it did not come in time.
    HWND WaitForStep(const char* pszClass, DWORD dwTimeout = 15000) const;
    // The visible dialog of that class now, ready or not; null if none.
    HWND Visible(const char* pszClass) const;
    // The visible button of the dialog with that text; null if none.
    HWND Button(HWND hDialog, const std::string& sText) const;
    // Clicks the visible button with that text; false if it is not usable.
    bool Press(HWND hDialog, const std::string& sText) const;
    // Clicks a button and waits for the dialog of class pszNext.
    HWND PressAndWait(HWND hDialog, const std::string& sText, const char* pszNext) const;
    // The install step once its checks are done: ready, or with a check's
    // box open. Null when it did not come.
    HWND WaitForInstallStep() const;
    MessageBoxInfo WaitForBox(DWORD dwTimeout = 15000) const;
    // The step title shown in the dialog's heading label.
    std::string Title(HWND hStep) const;

private:
    const UiTexts* m_pTexts;
    ChildProcess m_Process;
};
