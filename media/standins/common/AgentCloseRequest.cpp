#include "AgentCloseRequest.h"

#include "ProductNames.h"
#include "TxHandles.h"
#include "TxSecurity.h"

namespace
{
constexpr DWORD POLL_INTERVAL_MS = 50;
}

bool AgentEventExists()
{
    TxKernelHandle event(OpenEventA(SYNCHRONIZE, FALSE, AGENT_CLOSE_EVENT));
    return event.IsValid();
}

AgentCloseResult RequestAgentClose(DWORD dwTimeoutMs)
{
    {
        TxKernelHandle event(OpenEventA(EVENT_MODIFY_STATE, FALSE, AGENT_CLOSE_EVENT));
        if (!event.IsValid())
            return AgentCloseResult::NoAgent;
        if (!SetEvent(event.Get()))
            return AgentCloseResult::StillRunning;
        // Our own handle must go first, or it alone would keep the event alive.
    }
    DWORD dwStart = GetTickCount();
    while (AgentEventExists())
    {
        if (GetTickCount() - dwStart >= dwTimeoutMs)
            return AgentCloseResult::StillRunning;
        Sleep(POLL_INTERVAL_MS);
    }
    return AgentCloseResult::Closed;
}

bool MakeAgentEventSecurity(TxLocalMem& descriptor)
{
    TxString sUser;
    if (!TxProcessUserSid(sUser))
        return false;
    // EVENT_ALL_ACCESS (0x1f0003) for each; protected, so nothing else.
    TxString sSddl("D:P(A;;0x1f0003;;;");
    sSddl.Append(sUser.GetText());
    sSddl.Append(")(A;;0x1f0003;;;BA)(A;;0x1f0003;;;SY)");
    return TxMakeSecurityDescriptor(sSddl.GetText(), descriptor);
}
