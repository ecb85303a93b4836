#pragma once

// Options-step choices for the Start-menu and desktop shortcuts.
enum ShortcutChoice
{
    SHORTCUT_NONE = 0,
    SHORTCUT_CURRENT_USER = 1,
    SHORTCUT_ALL_USERS = 2,
};

constexpr char SHORTCUT_FILE_NAME[] = "Quorvane Manager.lnk";
constexpr char SHORTCUT_DESCRIPTION[] = "Quorvane Wallpaper Manager";

// After the last file: the Setup registry values, the agent's autorun value
// and the chosen shortcuts, each undoable change recorded in the history.
void PostInstallConfig(bool bInstallImages, int iStartMenuChoice, int iDesktopChoice);

// Saves a shell link at pszLinkFile that starts pszTarget, in a file made
// new (a name that is taken fails); true when saved.
bool CreateShortCut(const char* pszTarget, const char* pszLinkFile, const char* pszDescription);

// The autorun command: the agent's path in quotes, then "/r".
void AgentCommandLine(const char* pszProgramDir, char* pszOut, int cchOut);
