#include "FakeInstallView.h"

#include <windows.h>

int CFakeInstallView::ShowMessage(const char* pszText, const char* pszCaption, unsigned uFlags)
{
    m_Messages.push_back(std::string(pszCaption) + "|" + pszText);
    m_uLastFlags = uFlags;
    return IDOK;
}

void CFakeInstallView::SetProgress(int iPercent, const char* pszLabel)
{
    m_Percents.push_back(iPercent);
    m_sLabel = pszLabel;
}

void CFakeInstallView::ProcessMessages()
{
    ++m_iProcessed;
    if (m_OnFile)
        m_OnFile(m_iProcessed);
    if (m_iProcessed == m_iStopAfter && m_pEngine != nullptr)
        m_pEngine->SetStopped();
}

void CFakeInstallView::Run(CCopyEngine& engine)
{
    m_pEngine = &engine;
    while (m_iPosted > 0)
    {
        --m_iPosted;
        engine.DoInstallStep();
    }
}
