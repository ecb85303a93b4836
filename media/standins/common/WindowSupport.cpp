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

bool RegisterWindowClass(HINSTANCE hInstance, const char* pszClass, WNDPROC pfnProc,
                         HBRUSH hBackground, HCURSOR hCursor)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = pfnProc;
    wc.hInstance = hInstance;
    wc.hCursor = hCursor;
    wc.hbrBackground = hBackground;
    wc.lpszClassName = pszClass;
    return RegisterClassA(&wc) != 0;
}

bool CreateMainWindow(HINSTANCE hInstance, const char* pszClass, const char* pszTitle, int iWidth,
                      int iHeight, int nCmdShow, void* pObject, HWND& hWnd)
{
    hWnd = CreateWindowExA(0, pszClass, pszTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                           iWidth, iHeight, nullptr, nullptr, hInstance, pObject);
    if (hWnd == nullptr)
        return false;
    ShowWindow(hWnd, nCmdShow);
    UpdateWindow(hWnd);
    return true;
}
