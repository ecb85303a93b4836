#pragma once

#include "PostInstall.h"

// The options step's shortcut choices before the user changes them; an
// unattended installation takes them where no switch says otherwise.

// The system is of the NT family (version 4 or later): the shortcut groups
// offer "current user" and "all users"; on the 9x family only "Add", which
// means the current user.
bool IsNtFamily();

// The Start-menu shortcut: for all users on the NT family, else added.
inline int DefaultStartMenuChoice(bool bNt)
{
    return bNt ? SHORTCUT_ALL_USERS : SHORTCUT_CURRENT_USER;
}

// No desktop icon.
constexpr int DEFAULT_DESKTOP_CHOICE = SHORTCUT_NONE;
