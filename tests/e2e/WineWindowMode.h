#pragma once

#include <string>

// Xvfb has no window manager: a window Wine hands to one waits two seconds
// for it at every hide. While this object lives, the prefix's Wine draws
// the setup's frames itself ("Managed" = "N"); the earlier value comes back
// afterwards. Programs started meanwhile read it at their start.
class WineWindowMode
{
public:
    WineWindowMode();
    ~WineWindowMode();
    WineWindowMode(const WineWindowMode&) = delete;
    WineWindowMode& operator=(const WineWindowMode&) = delete;

private:
    bool m_bHadValue;
    std::string m_sOldValue;
};
