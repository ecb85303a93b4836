#include "ManagerWindow.h"

#include "WindowSupport.h"

namespace
{
constexpr char WINDOW_CLASS[] = "QvManagStandIn";
constexpr char WINDOW_TITLE[] = "Quorvane Manager (stand-in)";
constexpr int ID_BUTTON_OK = 1;
constexpr int MARGIN = 10;
constexpr int BUTTON_WIDTH = 90;
constexpr int BUTTON_HEIGHT = 26;
} // namespace

ManagerWindow::ManagerWindow(const TxString& sText, const TxString& sOk)
    : m_sText(sText), m_sOk(sOk), m_hWnd(nullptr), m_hMemo(nullptr), m_hButtonOk(nullptr)
{
}

bool ManagerWindow::Create(HINSTANCE hInstance, int nCmdShow)
{
    return RegisterWindowClass(hInstance, WINDOW_CLASS, ObjectWindowProc<ManagerWindow>,
                               reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                               LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW))) &&
           CreateMainWindow(hInstance, WINDOW_CLASS, WINDOW_TITLE, 560, 360, nCmdShow, this,
                            m_hWnd);
}

LRESULT ManagerWindow::HandleMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
    case WM_CREATE:
        return FormCreate(hWnd) ? 0 : -1;
    case WM_SIZE:
        FormResize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == ID_BUTTON_OK)
            ButtonOkClick();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    }
}

bool ManagerWindow::FormCreate(HWND hWnd)
{
    HINSTANCE hInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hWnd, GWLP_HINSTANCE));
    m_hMemo = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", m_sText.GetText(),
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY, 0, 0,
                              0, 0, hWnd, nullptr, hInstance, nullptr);
    m_hButtonOk = CreateWindowExA(0, "BUTTON", m_sOk.GetText(),
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 0, 0,
                                  hWnd, reinterpret_cast<HMENU>(ID_BUTTON_OK), hInstance, nullptr);
    if (m_hMemo == nullptr || m_hButtonOk == nullptr)
        return false;
    UseDialogFont(m_hMemo);
    UseDialogFont(m_hButtonOk);
    return true;
}

void ManagerWindow::FormResize(int cx, int cy)
{
    int iMemoHeight = cy - 3 * MARGIN - BUTTON_HEIGHT;
    MoveWindow(m_hMemo, MARGIN, MARGIN, cx - 2 * MARGIN, iMemoHeight > 0 ? iMemoHeight : 0, TRUE);
    MoveWindow(m_hButtonOk, cx - MARGIN - BUTTON_WIDTH, cy - MARGIN - BUTTON_HEIGHT, BUTTON_WIDTH,
               BUTTON_HEIGHT, TRUE);
}

void ManagerWindow::ButtonOkClick()
{
    DestroyWindow(m_hWnd);
}
