#pragma once

#include "CopyEngine.h"
#include "SetupSwitches.h"

class IMessageView;

// The progress window of /SILENT; /VERYSILENT shows none.
class IUnattendedProgress
{
public:
    virtual ~IUnattendedProgress() = default;
    // Shows the window as copying begins.
    virtual void Begin() = 0;
    virtual void SetFile(const char* pszPath) = 0;
    virtual void SetProgress(int iPercent, const char* pszLabel) = 0;
    // Handles pending input once; true once the user has asked to stop.
    virtual bool ProcessMessages() = 0;
    virtual void End() = 0;
};

// What the wizard's steps would have chosen: the switches where given,
// else the steps' defaults.
struct UnattendedChoices
{
    ImageChoice images;
    int iRandomCount; // N of the random selection
    int iStartMenu;   // a ShortcutChoice
    int iDesktop;
};

// The choices for a medium with iImageCount images (M). Without /IMAGES
// the images step's default: a random selection of all M; a count above M
// is held at M, as the step's count field holds it. On the 9x family
// "all users" means the one Start menu and desktop there are.
UnattendedChoices ChoicesFromSwitches(const CSetupSwitches& switches, int iImageCount, bool bNt);

// An installation without the wizard: the start-up, language and archive
// check of the wizard, the choices of the switches, the install step's
// checks, the copy engine, then the finish step's saving or rollback and,
// with /RUNMANAGER, the manager's start. pBoxes shows real boxes (null with
// /SUPPRESSMSGBOXES); pProgress is the /SILENT window (null: none). Returns
// the exit code: 0, 1602 (stopped, rolled back) or 1603 (refused or failed).
int RunUnattendedSetup(const CSetupSwitches& switches, IMessageView* pBoxes,
                       IUnattendedProgress* pProgress);
