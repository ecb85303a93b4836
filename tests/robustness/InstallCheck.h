#pragma once

#include <map>
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

// The state of the machine an installation can touch: every file and folder
// under a tree (files with bytes, attributes and times; folders by their
// attributes) and every key and value under the registry keys given.
class CMachineSnapshot
{
public:
    CMachineSnapshot(const std::string& sTree, const std::vector<std::string>& regKeys);
    // One line per difference from an earlier snapshot of the same places.
    std::vector<std::string> DifferencesFrom(const CMachineSnapshot& before) const;
    // Writes the registry back as it was in this snapshot: values written,
    // values and keys that were not there deleted.
    void RestoreRegistry() const;

private:
    std::map<std::string, std::string> m_Files;    // path -> description
    std::map<std::string, std::string> m_Registry; // key, key\value -> type and data
    std::vector<std::string> m_RegKeys;
};
