#include "TxControl.h"

#include "CLog.h"
#include "TxDpi.h"
#include "TxException.h"
#include "TxFont.h"
#include "TxGdiHandles.h"
#include "TxForm.h"

#include <vector>

TxString TxWindowText(HWND hWnd)
{
    int iLength = GetWindowTextLengthA(hWnd);
    if (iLength <= 0)
        return TxString();
    std::vector<char> buffer(static_cast<size_t>(iLength) + 1, 0);
    GetWindowTextA(hWnd, buffer.data(), iLength + 1);
    return TxString(buffer.data());
}

RECT TxRectInParent(HWND hWnd, HWND hParent)
{
    RECT rc = {0, 0, 0, 0};
    if (!GetWindowRect(hWnd, &rc))
        return RECT{0, 0, 0, 0};
    MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

TxControl::TxControl(TxForm& parent, const char* pszClass, const char* pszText, DWORD dwStyle,
                     DWORD dwExStyle, int iLeft, int iTop, int iWidth, int iHeight)
    : m_Parent(parent), m_iId(0), m_hWnd(nullptr)
{
    m_hWnd = CreatePart(pszClass, pszText, dwStyle, dwExStyle, Scaled(iLeft), Scaled(iTop),
                        Scaled(iWidth), Scaled(iHeight));
}

TxControl::~TxControl()
{
    DestroyPart(m_hWnd);
}

HWND TxControl::CreatePart(const char* pszClass, const char* pszText, DWORD dwStyle,
                           DWORD dwExStyle, int iLeft, int iTop, int iWidth, int iHeight)
{
    int iId = m_Parent.NextControlId();
    HWND hWnd = CreateWindowExA(dwExStyle, pszClass, pszText, WS_CHILD | dwStyle, iLeft, iTop,
                                iWidth, iHeight, m_Parent.Handle(),
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(iId)),
                                GetModuleHandleA(nullptr), nullptr);
    if (hWnd == nullptr)
    {
        DWORD dwError = GetLastError();
        TX_LOG("TxControl::CreatePart - CreateWindowExA failed: class=%s, error=%lu", pszClass,
               dwError);
        throw ExNormal("Cannot create a control.");
    }
    if (m_iId == 0)
        m_iId = iId;
    SendMessageA(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_Parent.Font().Handle()), FALSE);
    m_Parent.RegisterControl(hWnd, this);
    return hWnd;
}

void TxControl::DestroyPart(HWND hWnd)
{
    if (hWnd == nullptr)
        return;
    m_Parent.UnregisterControl(hWnd);
    if (IsWindow(hWnd))
        DestroyWindow(hWnd);
}

void TxControl::SetText(const char* pszText)
{
    SetWindowTextA(m_hWnd, pszText);
}

TxString TxControl::GetText() const
{
    return TxWindowText(m_hWnd);
}

void TxControl::SetVisible(bool bVisible)
{
    ShowWindow(m_hWnd, bVisible ? SW_SHOWNA : SW_HIDE);
}

bool TxControl::IsVisibleFlag() const
{
    return (GetWindowLongPtrA(m_hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

void TxControl::SetEnabled(bool bEnabled)
{
    EnableWindow(m_hWnd, bEnabled ? TRUE : FALSE);
}

void TxControl::SetFocus()
{
    ::SetFocus(m_hWnd);
}

void TxControl::SetBounds(int iLeft, int iTop, int iWidth, int iHeight)
{
    SetBoundsPx(Scaled(iLeft), Scaled(iTop), Scaled(iWidth), Scaled(iHeight));
}

void TxControl::SetPosition(int iLeft, int iTop)
{
    SetPositionPx(Scaled(iLeft), Scaled(iTop));
}

RECT TxControl::BoundsPx() const
{
    return TxRectInParent(m_hWnd, m_Parent.Handle());
}

void TxControl::SetBoundsPx(int iLeft, int iTop, int iWidth, int iHeight)
{
    SetWindowPos(m_hWnd, nullptr, iLeft, iTop, iWidth, iHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TxControl::SetPositionPx(int iLeft, int iTop)
{
    SetWindowPos(m_hWnd, nullptr, iLeft, iTop, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TxControl::SetFont(const TxFont& font)
{
    Send(WM_SETFONT, reinterpret_cast<WPARAM>(font.Handle()), TRUE);
}

SIZE TxControl::TextExtent(const char* pszText) const
{
    SIZE size = {0, 0};
    TxWindowDc dc(m_hWnd);
    if (dc.Get() == nullptr)
        return size;
    HFONT hFont = reinterpret_cast<HFONT>(Send(WM_GETFONT));
    TxSelectObject select(dc.Get(), hFont != nullptr ? hFont : GetStockObject(SYSTEM_FONT));
    RECT rc = {0, 0, 0, 0};
    // An empty text still takes one line.
    DrawTextA(dc.Get(), pszText != nullptr && *pszText != 0 ? pszText : " ", -1, &rc,
              DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
    size.cx = rc.right - rc.left;
    size.cy = rc.bottom - rc.top;
    return size;
}

void TxControl::Command(HWND, int) {}

LRESULT TxControl::Notify(const NMHDR&)
{
    return 0;
}

void TxControl::DrawItem(const DRAWITEMSTRUCT&) {}
