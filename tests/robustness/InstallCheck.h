#pragma once

#include <string>
#include <vector>

// What a completed installation must have put in place, judged from the
// medium (the archive read by its layout, the image files) and the setup
// state's targets, not from what the engine recorded: every plan file with
// its entry's bytes, size and times, every image with its bytes and write
// time, the Setup and autorun values, and the shortcuts as links to the
// manager. Returns one line per difference.
struct InstallChoices
{
    bool bImages;
    bool bStartMenu;
    bool bDesktop;
};
std::vector<std::string> DifferencesFromMedium(const std::string& sMedium,
                                               const InstallChoices& choices);
