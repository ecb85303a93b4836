#pragma once

#include "TxHandles.h"

#include <windows.h>

enum class AgentCloseResult
{
    NoAgent,     // no agent holds the event
    Closed,      // the agent let go of the event within the time given
    StillRunning // the event was set but is still held when the time ran out
};

// Asks a running agent to exit the way the setup does (opens the named event
// for EVENT_MODIFY_STATE and sets it), then waits up to dwTimeoutMs until no
// process holds the event any more, which tells that the agent has gone.
AgentCloseResult RequestAgentClose(DWORD dwTimeoutMs);

// True while some process holds the agent's event.
bool AgentEventExists();

// The security of the agent's event: its own user, administrators and SYSTEM
// may open it (and so set it); any other user cannot, so cannot make it
// close. False when the user's SID cannot be read.
bool MakeAgentEventSecurity(TxLocalMem& descriptor);
