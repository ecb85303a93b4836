#include "TxForm.h"

#include "CLog.h"
#include "TxApplication.h"
#include "TxButton.h"
#include "TxControl.h"
#include "TxDpi.h"
#include "TxException.h"
#include "TxFont.h"
#include "TxFormLayout.h"

#include <algorithm>

namespace
{
void BorderStyles(TxBorder border, DWORD& dwStyle, DWORD& dwExStyle)
{
    switch (border)
    {
    case TxBorder::Main:
        dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
        dwExStyle = WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW;
        break;
    case TxBorder::Dialog:
        dwStyle = WS_POPUP | WS_CAPTION;
        dwExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
        break;
    case TxBorder::Sizeable:
        dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
        dwExStyle = WS_EX_CONTROLPARENT;
        break;
    case TxBorder::ToolWindow:
        dwStyle = WS_POPUP | WS_CAPTION;
        dwExStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;
        break;
    }
}

struct DisabledWindows
{
    HWND hExcept;
    std::vector<HWND> windows;
};

BOOL CALLBACK DisableWindow(HWND hWnd, LPARAM lParam)
{
    auto* pState = reinterpret_cast<DisabledWindows*>(lParam);
    if (hWnd != pState->hExcept && IsWindowVisible(hWnd) && IsWindowEnabled(hWnd))
    {
        EnableWindow(hWnd, FALSE);
        pState->windows.push_back(hWnd);
    }
    return TRUE;
}
} // namespace

TxForm::TxForm(const char* pszClassName, TxBorder border, int iClientWidth, int iClientHeight)
    : m_Class(pszClassName, StaticWndProc), m_hWnd(nullptr), m_dwStyle(0), m_dwExStyle(0),
      m_pFont(&DialogFont()), m_iModalResult(MR_NONE), m_bModal(false), m_bCentred(false),
      m_iNextId(100), m_MinTrack{0, 0}, m_pActiveControl(nullptr), m_hFocus(nullptr),
      m_pDefaultButton(nullptr), m_pCancelButton(nullptr), m_bLayoutDue(false), m_iHandling(0)
{
    BorderStyles(border, m_dwStyle, m_dwExStyle);
    RECT rc = {0, 0, Scaled(iClientWidth), Scaled(iClientHeight)};
    AdjustWindowRectEx(&rc, m_dwStyle, FALSE, m_dwExStyle);
    HWND hWnd =
        CreateWindowExA(m_dwExStyle, pszClassName, "", m_dwStyle, 0, 0, rc.right - rc.left,
                        rc.bottom - rc.top, nullptr, nullptr, GetModuleHandleA(nullptr), this);
    if (hWnd == nullptr)
    {
        DWORD dwError = GetLastError();
        TX_LOG("TxForm::TxForm - CreateWindowExA failed: class=%s, error=%lu", pszClassName,
               dwError);
        throw ExNormal("Cannot create a window.");
    }
    Application.AddForm(this);
}

TxForm::~TxForm()
{
    Application.RemoveForm(this);
    if (m_hWnd != nullptr)
        DestroyWindow(m_hWnd);
}

void TxForm::SetCaption(const char* pszCaption)
{
    SetWindowTextA(m_hWnd, pszCaption);
}

TxString TxForm::Caption() const
{
    char szText[512] = "";
    GetWindowTextA(m_hWnd, szText, sizeof(szText));
    return TxString(szText);
}

void TxForm::Show()
{
    FormShow();
    LayoutIfDue(true);
    if (m_bCentred)
        CentreOnScreen();
    // A focus kept from the last showing does not count.
    m_hFocus = nullptr;
    SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(m_hWnd);
    FocusActiveControl();
    UpdateWindow(m_hWnd);
    FormShown();
    LayoutIfDue(false);
}

void TxForm::Hide()
{
    ShowWindow(m_hWnd, SW_HIDE);
}

int TxForm::ShowModal()
{
    if (m_bModal)
        return MR_CANCEL;
    HWND hOwner = Application.ActiveOwner();
    if (hOwner != m_hWnd)
        SetWindowLongPtrA(m_hWnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(hOwner));
    DisabledWindows disabled = {m_hWnd, {}};
    EnumThreadWindows(GetCurrentThreadId(), DisableWindow, reinterpret_cast<LPARAM>(&disabled));
    m_iModalResult = MR_NONE;
    m_bModal = true;
    Application.PushModal(this);
    Show();
    for (;;)
    {
        if (m_iModalResult != MR_NONE)
        {
            if (FormCloseQuery())
                break;
            m_iModalResult = MR_NONE;
        }
        MSG msg;
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0)
        {
            // The program is ending: hand the quit on to the outer loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            m_iModalResult = MR_CANCEL;
            break;
        }
        Application.Dispatch(msg);
    }
    // Enable the others before hiding, so that activation goes back to the owner.
    for (HWND hWnd : disabled.windows)
        EnableWindow(hWnd, TRUE);
    Hide();
    Application.PopModal();
    m_bModal = false;
    if (hOwner != nullptr && IsWindowVisible(hOwner))
        SetActiveWindow(hOwner);
    return m_iModalResult;
}

void TxForm::SetModalResult(int iResult)
{
    m_iModalResult = iResult;
    // A click sent from another thread does not end GetMessage by itself.
    PostMessageA(m_hWnd, WM_NULL, 0, 0);
}

void TxForm::SetBounds(int iLeft, int iTop, int iWidth, int iHeight)
{
    SetBoundsPx(Scaled(iLeft), Scaled(iTop), Scaled(iWidth), Scaled(iHeight));
}

void TxForm::SetBoundsPx(int iLeft, int iTop, int iWidth, int iHeight)
{
    SetWindowPos(m_hWnd, nullptr, iLeft, iTop, iWidth, iHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TxForm::SetPositionPx(int iLeft, int iTop)
{
    SetWindowPos(m_hWnd, nullptr, iLeft, iTop, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TxForm::SetClientSize(int iWidth, int iHeight)
{
    RECT rc = {0, 0, Scaled(iWidth), Scaled(iHeight)};
    AdjustWindowRectEx(&rc, m_dwStyle, FALSE, m_dwExStyle);
    SetWindowPos(m_hWnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

void TxForm::CentreOnScreen()
{
    RECT rc;
    GetWindowRect(m_hWnd, &rc);
    int iWidth = rc.right - rc.left;
    int iHeight = rc.bottom - rc.top;
    SetPositionPx((GetSystemMetrics(SM_CXSCREEN) - iWidth) / 2,
                  (GetSystemMetrics(SM_CYSCREEN) - iHeight) / 2);
}

void TxForm::SetMinTrackSize(int iWidth, int iHeight)
{
    m_MinTrack.cx = Scaled(iWidth);
    m_MinTrack.cy = Scaled(iHeight);
}

RECT TxForm::ClientRectPx() const
{
    RECT rc = {0, 0, 0, 0};
    GetClientRect(m_hWnd, &rc);
    return rc;
}

bool TxForm::Post(UINT uMsg, WPARAM wParam, LPARAM lParam) const
{
    if (PostMessageA(m_hWnd, uMsg, wParam, lParam))
        return true;
    DWORD dwError = GetLastError();
    TX_LOG("TxForm::Post - PostMessageA failed: msg=%u, error=%lu", uMsg, dwError);
    return false;
}

void TxForm::RegisterControl(HWND hWnd, TxControl* pControl)
{
    m_Controls.emplace_back(hWnd, pControl);
}

void TxForm::RemoveControl(TxControl* pControl)
{
    m_Layout.erase(std::remove(m_Layout.begin(), m_Layout.end(), pControl), m_Layout.end());
    m_bLayoutDue = true;
}

void TxForm::LayoutIfDue(bool bHidden)
{
    if (!m_bLayoutDue || m_hWnd == nullptr || (!bHidden && !IsWindowVisible(m_hWnd)))
        return;
    m_bLayoutDue = false;
    LayoutControls(m_hWnd, m_Layout);
}

void TxForm::UnregisterControl(HWND hWnd)
{
    m_Controls.erase(std::remove_if(m_Controls.begin(), m_Controls.end(),
                                    [hWnd](const auto& entry) { return entry.first == hWnd; }),
                     m_Controls.end());
}

TxControl* TxForm::FindControl(HWND hWnd) const
{
    for (const auto& entry : m_Controls)
        if (entry.first == hWnd)
            return entry.second;
    return nullptr;
}

void TxForm::FormCloseRequest()
{
    if (m_bModal)
        SetModalResult(MR_CANCEL);
    else
        Hide();
}

void TxForm::ClickIfUsable(TxButton* pButton)
{
    if (pButton != nullptr)
        pButton->Click();
}

LRESULT TxForm::DefaultButtonId() const
{
    if (m_pDefaultButton == nullptr || !m_pDefaultButton->IsUsable())
        return 0;
    return MAKELRESULT(m_pDefaultButton->Id(), DC_HASDEFID);
}

void TxForm::FocusActiveControl()
{
    if (m_pActiveControl != nullptr && m_pActiveControl->IsUsable())
        m_pActiveControl->SetFocus();
}

void TxForm::RememberFocus()
{
    HWND hFocus = GetFocus();
    if (hFocus != nullptr && IsChild(m_hWnd, hFocus))
        m_hFocus = hFocus;
}

bool TxForm::RestoreFocus()
{
    HWND hFocus = m_hFocus;
    m_hFocus = nullptr;
    if (hFocus != nullptr && IsWindow(hFocus) && IsChild(m_hWnd, hFocus) &&
        IsWindowVisible(hFocus) && IsWindowEnabled(hFocus))
    {
        ::SetFocus(hFocus);
        return true;
    }
    if (m_pActiveControl != nullptr && m_pActiveControl->IsUsable())
    {
        m_pActiveControl->SetFocus();
        return true;
    }
    return false;
}

LRESULT TxForm::WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
        {
            RememberFocus();
            return 0;
        }
        // The default handling would put the focus on the form itself.
        if (HIWORD(wParam) == 0 && RestoreFocus())
            return 0;
        return DefWindowProcA(m_hWnd, uMsg, wParam, lParam);
    case WM_COMMAND:
        if (lParam != 0)
        {
            HWND hFrom = reinterpret_cast<HWND>(lParam);
            if (TxControl* pControl = FindControl(hFrom))
                pControl->Command(hFrom, HIWORD(wParam));
        }
        else if (LOWORD(wParam) == IDOK)
            ClickIfUsable(m_pDefaultButton);
        else if (LOWORD(wParam) == IDCANCEL)
            ClickIfUsable(m_pCancelButton);
        return 0;
    case WM_NOTIFY:
    {
        const NMHDR* pHeader = reinterpret_cast<const NMHDR*>(lParam);
        TxControl* pControl = FindControl(pHeader->hwndFrom);
        return pControl != nullptr ? pControl->Notify(*pHeader) : 0;
    }
    case WM_DRAWITEM:
    {
        const DRAWITEMSTRUCT* pDraw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (TxControl* pControl = FindControl(pDraw->hwndItem))
            pControl->DrawItem(*pDraw);
        return TRUE;
    }
    case DM_GETDEFID:
        return DefaultButtonId();
    case WM_CLOSE:
        FormCloseRequest();
        return 0;
    case WM_SIZE:
        // Controls placed from the right or bottom edge follow it.
        MarkLayout();
        return 0;
    case WM_GETMINMAXINFO:
        if (m_MinTrack.cx > 0)
        {
            MINMAXINFO* pInfo = reinterpret_cast<MINMAXINFO*>(lParam);
            pInfo->ptMinTrackSize.x = m_MinTrack.cx;
            pInfo->ptMinTrackSize.y = m_MinTrack.cy;
        }
        return 0;
    default:
        return DefWindowProcA(m_hWnd, uMsg, wParam, lParam);
    }
}

LRESULT CALLBACK TxForm::StaticWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    TxForm* pForm = nullptr;
    if (uMsg == WM_NCCREATE)
    {
        pForm = static_cast<TxForm*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pForm));
        pForm->m_hWnd = hWnd;
    }
    else
        pForm = reinterpret_cast<TxForm*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (uMsg == WM_NCDESTROY)
    {
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
        if (pForm != nullptr)
            pForm->m_hWnd = nullptr;
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    }
    if (pForm == nullptr || pForm->m_hWnd == nullptr)
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    LRESULT lResult = 0;
    ++pForm->m_iHandling;
    try
    {
        lResult = pForm->WindowProc(uMsg, wParam, lParam);
        // Once per message that changed the controls, after its handling:
        // the messages sent on the way often change them again.
        if (pForm->m_iHandling == 1)
            pForm->LayoutIfDue(false);
    }
    catch (const std::exception& e)
    {
        // An exception must not unwind through the system's code.
        Application.ShowException(e);
    }
    --pForm->m_iHandling;
    return lResult;
}
