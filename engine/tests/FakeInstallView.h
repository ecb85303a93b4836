#pragma once

#include "CopyEngine.h"

#include <functional>
#include <string>
#include <vector>

// Answers the engine's boxes with OK, records what the install step would
// show, and runs the engine's posted steps without a window.
class CFakeInstallView : public IInstallView
{
public:
    int ShowMessage(const char* pszText, const char* pszCaption, unsigned uFlags) override;
    void ShowProgressControls() override { m_bProgressShown = true; }
    void DisableNavigation() override { m_bNavigationDisabled = true; }
    void SetProgress(int iPercent, const char* pszLabel) override;
    void ProcessMessages() override;
    void PostInstallStep() override { ++m_iPosted; }
    void CloseStep() override { m_bClosed = true; }

    // Runs the posted steps as the message loop would.
    void Run(CCopyEngine& engine);
    // Steps posted and not yet run; calls of ProcessMessages, one per file.
    int Posted() const { return m_iPosted; }
    int Processed() const { return m_iProcessed; }

    std::vector<std::string> m_Messages; // caption + "|" + text
    unsigned m_uLastFlags = 0;           // of the last box
    std::vector<int> m_Percents;
    std::string m_sLabel; // the last progress label
    bool m_bProgressShown = false;
    bool m_bNavigationDisabled = false;
    bool m_bClosed = false;
    int m_iStopAfter = -1;             // files after which Stop is pressed
    std::function<void(int)> m_OnFile; // called with the count of files copied

private:
    int m_iPosted = 0;
    int m_iProcessed = 0;
    CCopyEngine* m_pEngine = nullptr;
};
