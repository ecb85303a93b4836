#pragma once

#include <windows.h>

// Full-screen window of the screen saver stand-in: a black screen with its
// name, closed by any key, mouse button or a real mouse move.
class ScreenSaverWindow
{
public:
    ScreenSaverWindow();
    ScreenSaverWindow(const ScreenSaverWindow&) = delete;
    ScreenSaverWindow& operator=(const ScreenSaverWindow&) = delete;

    bool Create(HINSTANCE hInstance);

    // Called by the window procedure for every message.
    LRESULT HandleMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

private:
    void FormPaint(HWND hWnd);
    void FormMouseMove(HWND hWnd, LPARAM lParam);

    bool m_bHaveMousePos;
    POINT m_ptFirstMouse;
};
