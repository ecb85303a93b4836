#pragma once

#include <windows.h>

// Runs the thread's message loop until WM_QUIT; returns its exit code.
int RunMessageLoop();

// Registers a window class with the arrow cursor (none when hCursor is null)
// and the given background; false on failure.
bool RegisterWindowClass(HINSTANCE hInstance, const char* pszClass, WNDPROC pfnProc,
                         HBRUSH hBackground, HCURSOR hCursor);

// Creates a top-level window of a registered class for pObject (reached again
// through WindowObject) and shows it; false on failure.
bool CreateMainWindow(HINSTANCE hInstance, const char* pszClass, const char* pszTitle, int iWidth,
                      int iHeight, int nCmdShow, void* pObject, HWND& hWnd);

// Gives a control the system's dialog font (a stock object: never deleted).
void UseDialogFont(HWND hControl);

// Stores pObject with the window in WM_NCCREATE and returns it for every later
// message, so that a window procedure can hand messages to its C++ object.
template <class T> T* WindowObject(HWND hWnd, UINT uMsg, LPARAM lParam)
{
    if (uMsg == WM_NCCREATE)
    {
        auto* pCreate = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pCreate->lpCreateParams));
    }
    return reinterpret_cast<T*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
}

// The window procedure of a class whose object handles its messages in
// HandleMessage (public); messages before WM_NCCREATE get the default.
template <class T>
LRESULT CALLBACK ObjectWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    T* pObject = WindowObject<T>(hWnd, uMsg, lParam);
    if (pObject == nullptr)
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    return pObject->HandleMessage(hWnd, uMsg, wParam, lParam);
}
