#pragma once

// The setup's exit codes, the ones deployment tools read (those of Windows
// Installer where it has one).
constexpr int SETUP_EXIT_SUCCESS = 0;
// A switch or its value is not valid; nothing was made.
constexpr int SETUP_EXIT_INVALID_SWITCH = 87;
// Cancelled or stopped by the user; what was made is rolled back.
constexpr int SETUP_EXIT_CANCELLED = 1602;
// Failed: a check refused the installation, or it failed and was rolled back.
constexpr int SETUP_EXIT_FAILED = 1603;
// Another setup of the product is running.
constexpr int SETUP_EXIT_ALREADY_RUNNING = 1618;

// The exit code of an installation that has ended: stopped by the user
// 1602, failed (or never completed) 1603, else 0.
inline int InstallExitCode(bool bCompleted, bool bStopped, bool bFailed)
{
    if (bStopped)
        return SETUP_EXIT_CANCELLED;
    return bFailed || !bCompleted ? SETUP_EXIT_FAILED : SETUP_EXIT_SUCCESS;
}
