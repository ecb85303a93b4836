#pragma once

#include "TxString.h"

// The command line switches of an unattended installation. Without any
// switch the setup is the wizard, as ever.
//
// A switch starts with "/" or "-", its name is matched without regard to
// letter case (ASCII only, so that no locale turns "i" into another letter),
// values follow "=" and may be quoted in whole or in part. The NSIS form
// "/D=folder" takes the rest of the line, unquoted, and so comes last.

// A shortcut or images switch that was not given: the wizard's default.
constexpr int SWITCH_NOT_GIVEN = -1;
// /IMAGES=none and /IMAGES=all; a count N is stored as itself (1 or more).
constexpr int SWITCH_IMAGES_NONE = 0;
constexpr int SWITCH_IMAGES_ALL = -2;
// Counts beyond this are refused as a typing error.
constexpr int SWITCH_IMAGES_MAX = 1000000;

struct CSetupSwitches
{
    bool bAny = false;        // any switch was given
    bool bSilent = false;     // /SILENT: a progress window, no wizard
    bool bVerySilent = false; // /VERYSILENT (and /S): no window at all
    bool bSuppressMsgBoxes = false;
    bool bHelp = false;       // /? or /HELP
    bool bRunManager = false; // /RUNMANAGER
    TxString sDir;            // /DIR= or /D=; empty when not given
    TxString sImageDir;       // /IMAGEDIR=
    TxString sLanguage;       // /LANG=
    TxString sLogFile;        // /LOG=
    int iImages = SWITCH_NOT_GIVEN;
    int iStartMenu = SWITCH_NOT_GIVEN; // a ShortcutChoice
    int iDesktop = SWITCH_NOT_GIVEN;   // a ShortcutChoice

    // No wizard: /SILENT or /VERYSILENT.
    bool Unattended() const { return bSilent || bVerySilent; }
};

// Reads the arguments (the command line after the program's name) into
// switches. Every switch is read, so that /SUPPRESSMSGBOXES counts even
// after a bad one. Returns false when a switch or its value is not valid;
// sBadSwitch then holds the first such switch as written (quotes removed).
bool ParseSetupSwitches(const char* pszArguments, CSetupSwitches& switches, TxString& sBadSwitch);
