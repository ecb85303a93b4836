#include "WindowSupport.h"

int RunMessageLoop()
{
    MSG msg;
    for (;;)
    {
        BOOL bResult = GetMessageA(&msg, nullptr, 0, 0);
        if (bResult == 0)
            return static_cast<int>(msg.wParam);
        if (bResult == -1)
            return 1;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void UseDialogFont(HWND hControl)
{
    SendMessageA(hControl, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 TRUE);
}
