#include "ScreenSaverWindow.h"

#include "WindowSupport.h"

#include <cstdlib>

namespace
{
constexpr char WINDOW_CLASS[] = "QuorvaneScrStandIn";
constexpr char SAVER_TEXT[] = "Quorvane screen saver (stand-in)";
// Windows sends a mouse move when the window appears; only a move of more
// than a few pixels from that first position counts as the user's.
constexpr int MOUSE_TOLERANCE = 4;
} // namespace

ScreenSaverWindow::ScreenSaverWindow() : m_bHaveMousePos(false), m_ptFirstMouse{0, 0} {}

bool ScreenSaverWindow::Create(HINSTANCE hInstance)
{
    if (!RegisterWindowClass(hInstance, WINDOW_CLASS, ObjectWindowProc<ScreenSaverWindow>,
                             static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), nullptr))
        return false;
    HWND hWnd =
        CreateWindowExA(WS_EX_TOPMOST, WINDOW_CLASS, SAVER_TEXT, WS_POPUP | WS_VISIBLE,
                        GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                        GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN),
                        nullptr, nullptr, hInstance, this);
    if (hWnd == nullptr)
        return false;
    SetCursor(nullptr);
    return true;
}

LRESULT ScreenSaverWindow::HandleMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
    case WM_PAINT:
        FormPaint(hWnd);
        return 0;
    case WM_MOUSEMOVE:
        FormMouseMove(hWnd, lParam);
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        DestroyWindow(hWnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    }
}

void ScreenSaverWindow::FormPaint(HWND hWnd)
{
    PAINTSTRUCT ps;
    HDC hDC = BeginPaint(hWnd, &ps);
    if (hDC == nullptr)
        return;
    RECT rc;
    if (GetClientRect(hWnd, &rc))
    {
        SetBkMode(hDC, TRANSPARENT);
        SetTextColor(hDC, RGB(200, 200, 255));
        DrawTextA(hDC, SAVER_TEXT, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    EndPaint(hWnd, &ps);
}

void ScreenSaverWindow::FormMouseMove(HWND hWnd, LPARAM lParam)
{
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (!m_bHaveMousePos)
    {
        m_ptFirstMouse = pt;
        m_bHaveMousePos = true;
        return;
    }
    if (std::abs(pt.x - m_ptFirstMouse.x) > MOUSE_TOLERANCE ||
        std::abs(pt.y - m_ptFirstMouse.y) > MOUSE_TOLERANCE)
        DestroyWindow(hWnd);
}
