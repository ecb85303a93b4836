#include "LogReceiverWindow.h"

#include "ProductNames.h"

namespace
{
bool RegisterReceiverClass(HINSTANCE hInstance, WNDPROC pfnProc)
{
    WNDCLASSEXA wc = {};
    if (GetClassInfoExA(hInstance, LOG_RECEIVER_CLASS, &wc))
        return true;
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = pfnProc;
    wc.hInstance = hInstance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = LOG_RECEIVER_CLASS;
    return RegisterClassExA(&wc) != 0;
}
} // namespace

LogReceiverWindow::LogReceiverWindow(LineHandler handler)
    : m_Handler(std::move(handler)), m_hWnd(nullptr), m_hList(nullptr)
{
}

LogReceiverWindow::~LogReceiverWindow()
{
    if (m_hWnd != nullptr)
        DestroyWindow(m_hWnd);
}

bool LogReceiverWindow::Create(bool bVisible, bool bShowList)
{
    HINSTANCE hInstance = GetModuleHandleA(nullptr);
    if (!RegisterReceiverClass(hInstance, WindowProc))
        return false;
    m_hWnd = CreateWindowExA(0, LOG_RECEIVER_CLASS, LOG_RECEIVER_TITLE,
                             WS_OVERLAPPEDWINDOW | (bVisible ? WS_VISIBLE : 0), CW_USEDEFAULT,
                             CW_USEDEFAULT, 900, 500, nullptr, nullptr, hInstance, this);
    if (m_hWnd == nullptr)
        return false;
    if (bShowList)
    {
        RECT rc = {};
        GetClientRect(m_hWnd, &rc);
        m_hList = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                                  WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL |
                                      LBS_NOINTEGRALHEIGHT | LBS_NOSEL,
                                  0, 0, rc.right, rc.bottom, m_hWnd, nullptr, hInstance, nullptr);
        if (m_hList == nullptr)
            return false;
        SendMessageA(m_hList, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_FIXED_FONT)),
                     FALSE);
        SendMessageA(m_hList, LB_SETHORIZONTALEXTENT, 4000, 0);
    }
    return true;
}

void LogReceiverWindow::AddToList(const std::string& line)
{
    // The data ends in its zero; show the text up to the first zero.
    std::string text(line.c_str());
    if (SendMessageA(m_hList, LB_GETCOUNT, 0, 0) >= kMaxListLines)
        SendMessageA(m_hList, LB_DELETESTRING, 0, 0);
    LRESULT iIndex = SendMessageA(m_hList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (iIndex >= 0)
        SendMessageA(m_hList, LB_SETTOPINDEX, static_cast<WPARAM>(iIndex), 0);
}

LRESULT LogReceiverWindow::OnCopyData(const COPYDATASTRUCT* pData)
{
    if (pData == nullptr)
        return FALSE;
    const char* p = static_cast<const char*>(pData->lpData);
    std::string line = p != nullptr ? std::string(p, pData->cbData) : std::string();
    if (m_Handler != nullptr)
        m_Handler(line);
    if (m_hList != nullptr)
        AddToList(line);
    return TRUE;
}

LRESULT CALLBACK LogReceiverWindow::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_NCCREATE)
    {
        auto* pCreate = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pCreate->lpCreateParams));
    }
    auto* pSelf = reinterpret_cast<LogReceiverWindow*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (pSelf != nullptr)
    {
        if (uMsg == WM_COPYDATA)
            return pSelf->OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        if (uMsg == WM_SIZE && pSelf->m_hList != nullptr)
            MoveWindow(pSelf->m_hList, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        if (uMsg == WM_DESTROY && pSelf->m_hList != nullptr)
            PostQuitMessage(0); // the receiver program ends with its window
        if (uMsg == WM_NCDESTROY)
        {
            pSelf->m_hWnd = nullptr;
            SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
        }
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}
