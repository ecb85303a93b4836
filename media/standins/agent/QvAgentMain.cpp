// Stand-in of the product's background agent. It does no wallpaper work: it
// only honours the close request of the setup and the uninstaller, so that
// both can be tried against a real running agent.
//
//   QvAgent.exe /r   started by the Run key; any other command line behaves alike
//
// The agent owns the named event "QvAgentExternalClose" and exits as soon as
// another process sets it; only its own user and administrators may. A
// second agent finds the event taken and exits.
#include "AgentCloseRequest.h"
#include "ProductNames.h"
#include "TokenRecord.h"
#include "TxHandles.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    RecordTokenElevation("QvAgent.exe");
    TxLocalMem security;
    if (!MakeAgentEventSecurity(security))
        return 1;
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), security.Get(), FALSE};
    // Manual reset: once set, it stays set for every waiter until all let go.
    TxKernelHandle event(CreateEventA(&attributes, TRUE, FALSE, AGENT_CLOSE_EVENT));
    if (!event.IsValid())
        return 1;
    if (GetLastError() == ERROR_ALREADY_EXISTS)
        return 0;
    if (WaitForSingleObject(event.Get(), INFINITE) != WAIT_OBJECT_0)
        return 1;
    return 0;
}
