#pragma once

#include "EngineTestSupport.h"
#include "FakeInstallView.h"
#include "PostInstall.h"

#include <set>
#include <string>
#include <vector>

// A medium (the plan archive and three images) and an empty target tree in a
// temporary folder, the setup state pointed at them, and a check for what an
// installation left behind there and in the autorun value.
class CInstallSandbox
{
public:
    // Images of cbImageUnit, 2 * cbImageUnit and 3 * cbImageUnit bytes.
    explicit CInstallSandbox(size_t cbImageUnit = 100);
    ~CInstallSandbox();
    CInstallSandbox(const CInstallSandbox&) = delete;
    CInstallSandbox& operator=(const CInstallSandbox&) = delete;

    // Fills the setup state for one run and opens the archive; remembers what
    // exists, so that Leftovers sees what the run made.
    bool Prepare();
    // Program and image folders elsewhere than in the target tree, for the
    // runs from now on; empty keeps the target tree's.
    void SetTargets(const std::string& sProgramDir, const std::string& sImageDir)
    {
        m_sProgramDir = sProgramDir;
        m_sImageDir = sImageDir;
    }
    // Starts an installation and runs it: all images and both shortcuts for
    // the current user unless told otherwise.
    void Install(CCopyEngine& engine, CFakeInstallView& view, ImageChoice images = IMAGES_ALL,
                 int iShortcuts = SHORTCUT_CURRENT_USER);
    // An earlier installation as a user would leave it: German texts and
    // licence, both shortcuts for all users, two of the three images, the
    // registry texts, the uninstall entry and "Install.log" written, a
    // program file made read-only and a hidden file of the user's own in the
    // program folder. False when it did not complete.
    bool InstallEarlier();
    // The finish step after a failure or Stop: roll back, close the archive.
    void RollBackAndClose();
    // What the run created that is still there (removed on the way), and
    // the autorun value if it remains.
    std::vector<std::string> Leftovers();

    std::string Target(const std::string& sName) const { return m_Root / ("Target\\" + sName); }
    std::string TargetTree() const { return m_Root / "Target"; }
    std::string Medium(const std::string& sName) const { return m_Root / ("Medium\\" + sName); }

private:
    std::set<std::string> Snapshot() const;

    TempFolder m_Root;
    std::set<std::string> m_Before;
    std::string m_sProgramDir;
    std::string m_sImageDir;
};
