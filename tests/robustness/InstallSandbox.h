#pragma once

#include "CopyEngine.h"
#include "EngineTestSupport.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

// Answers the engine's boxes and runs its posted steps without a window.
class CFakeInstallView : public IInstallView
{
public:
    int ShowMessage(const char* pszText, const char* pszCaption, unsigned uFlags) override;
    void ShowProgressControls() override {}
    void DisableNavigation() override {}
    void SetProgress(int, const char*) override {}
    void ProcessMessages() override;
    void PostInstallStep() override { ++m_iPosted; }
    void CloseStep() override { m_bClosed = true; }

    // Runs the posted steps as the message loop would.
    void Run(CCopyEngine& engine);

    std::vector<std::string> m_Messages; // caption + "|" + text
    int m_iStopAfter = -1;               // files after which Stop is pressed
    std::function<void(int)> m_OnFile;   // called with the count of files copied
    bool m_bClosed = false;

private:
    int m_iPosted = 0;
    int m_iProcessed = 0;
    CCopyEngine* m_pEngine = nullptr;
};

// A medium (the plan archive and three images) and an empty target tree in a
// temporary folder, the setup state pointed at them, and a check for what an
// installation left behind there and in the autorun value.
class CInstallSandbox
{
public:
    CInstallSandbox();
    ~CInstallSandbox();
    CInstallSandbox(const CInstallSandbox&) = delete;
    CInstallSandbox& operator=(const CInstallSandbox&) = delete;

    // Fills the setup state for one run and opens the archive; remembers what
    // exists, so that Leftovers sees what the run made.
    bool Prepare();
    // Starts an installation with all images and both shortcuts and runs it.
    void Install(CCopyEngine& engine, CFakeInstallView& view);
    // The finish step after a failure or Stop: roll back, close the archive.
    void RollBackAndClose();
    // What the run created that is still there (removed on the way), and
    // the autorun value if it remains.
    std::vector<std::string> Leftovers();

    std::string Target(const std::string& sName) const { return m_Root / ("Target\\" + sName); }
    std::string Medium(const std::string& sName) const { return m_Root / ("Medium\\" + sName); }

private:
    std::set<std::string> Snapshot() const;

    TempFolder m_Root;
    std::set<std::string> m_Before;
};

// Whether a message is one of the engine's failure boxes: "Cannot create
// folder %s" captioned "Error", or "%s -> %s\n%s" captioned "Copy Error".
bool IsSpecifiedFailureMessage(const std::string& sMessage);
