#include "MessagePump.h"

namespace
{
constexpr DWORD POLL_INTERVAL_MS = 10;
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void PumpFor(DWORD dwMilliseconds)
{
    DWORD dwStart = GetTickCount();
    do
    {
        PumpMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, POLL_INTERVAL_MS, QS_ALLINPUT);
    } while (GetTickCount() - dwStart < dwMilliseconds);
    PumpMessages();
}

bool WaitUntil(const std::function<bool()>& bCondition, DWORD dwTimeout)
{
    DWORD dwStart = GetTickCount();
    for (;;)
    {
        PumpMessages();
        if (bCondition())
            return true;
        if (GetTickCount() - dwStart >= dwTimeout)
            return bCondition();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, POLL_INTERVAL_MS, QS_ALLINPUT);
    }
}
