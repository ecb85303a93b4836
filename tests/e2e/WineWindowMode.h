#pragma once

#include "TestSupport.h"

// Xvfb has no window manager: a window Wine hands to one waits two seconds
// for it at every hide. While this object lives, the prefix's Wine draws
// the setup's frames itself ("Managed" = "N"); the earlier value comes back
// afterwards. Programs started meanwhile read it at their start.
class WineWindowMode : public SavedRegValue
{
public:
    WineWindowMode()
        : SavedRegValue(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", "Managed",
                        RegValue::String("N"))
    {
    }
};
