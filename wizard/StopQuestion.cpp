#include "StopQuestion.h"

bool CStopQuestion::TakeStep()
{
    if (!m_bOpen)
        return true;
    m_bStepWaiting = true;
    return false;
}

StopDecision CStopQuestion::Ask(const TxCallback<bool()>& askUser)
{
    if (m_bOpen)
        return STOP_KEEP_COPYING;
    m_bOpen = true;
    bool bYes = askUser();
    m_bOpen = false;
    bool bWaiting = m_bStepWaiting;
    m_bStepWaiting = false;
    if (bYes)
        return STOP_INSTALLATION;
    return bWaiting ? STOP_RESUME_COPYING : STOP_KEEP_COPYING;
}
