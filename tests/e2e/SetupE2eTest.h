#pragma once

#include "E2eFiles.h"
#include "E2eMedium.h"
#include "LogCollector.h"
#include "ProductState.h"
#include "WineWindowMode.h"
#include "WizardDriver.h"

#include <gtest/gtest.h>

// One scenario: its own medium and current folder under a temp folder, the
// driver as log receiver, and a prefix that is clean before and after.
class SetupE2eTest : public ::testing::Test
{
protected:
    SetupE2eTest();

    void SetUp() override;
    void TearDown() override;

    // Builds the medium; the test fails when the build lacks a part.
    void MakeMedium(const MediumOptions& options = MediumOptions());
    // Starts Setup.exe from the medium, in the scenario's current folder.
    void StartSetup();
    // A medium with iImages images, the setup started and led past the
    // welcome step: the options step, or null.
    HWND StartAtOptionsStep(int iImages);
    // Waits for the welcome step and goes on with the defaults to the
    // install step (through the images step when bImages).
    HWND WalkToInstallStep(bool bImages);
    // Presses Start and waits for the finish step.
    HWND InstallAndWaitForFinish(HWND hInstall);
    // Presses Start and, before the second file, Stop: the Stop click is
    // queued behind the first copy step. The stop question, if it came.
    MessageBoxInfo StartAndStop(HWND hInstall);
    // Presses Close on the finish step and waits for the setup to end with
    // dwExitCode (0 after a success, 1602 after Stop, 1603 after a failure).
    void CloseFinishStep(HWND hBye, bool bRunManager, DWORD dwExitCode = 0);
    // Answers the cancel question with Yes and waits for the setup to end
    // (with 1602).
    void ConfirmCancelAndExit(HWND hStep);
    // The program ended by itself (not killed by the driver) with dwExitCode.
    void ExpectSetupEnded(DWORD dwExitCode = 0);

    std::string MediumFile(const std::string& sName) const { return JoinPath(m_sMedium, sName); }

    WineWindowMode m_WindowMode;
    ProductPaths m_Paths;
    TempFolder m_Work;
    std::string m_sMedium;
    std::string m_sCurrentFolder;
    LogCollector m_Log;
    WizardDriver m_Wizard;
    // Folders a scenario installs into besides the defaults.
    std::vector<std::string> m_ExtraFolders;
};
