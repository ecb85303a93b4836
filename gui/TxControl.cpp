#include "TxControl.h"

#include "CLog.h"
#include "TxDpi.h"
#include "TxException.h"
#include "TxFont.h"
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
    : m_Parent(parent), m_iId(0), m_hWnd(nullptr),
      m_lDesignStyle(WS_CHILD | dwStyle), m_Design{iLeft, iTop, iWidth, iHeight}, m_iTextExtra(-1),
      m_pLeader(nullptr), m_iLeaderGap(0), m_bPinned(false), m_rcPlaced{0, 0, 0, 0}
{
    // A place that depends on the client area or the text is made by the
    // form's first layout.
    m_rcPlaced = {iLeft > 0 ? Scaled(iLeft) : 0, iTop > 0 ? Scaled(iTop) : 0, 0, 0};
    m_rcPlaced.right = m_rcPlaced.left + (iWidth > 0 ? Scaled(iWidth) : 0);
    m_rcPlaced.bottom = m_rcPlaced.top + (iHeight > 0 ? Scaled(iHeight) : 0);
    m_hWnd = CreatePart(pszClass, pszText, dwStyle, dwExStyle, m_rcPlaced.left, m_rcPlaced.top,
                        m_rcPlaced.right - m_rcPlaced.left, m_rcPlaced.bottom - m_rcPlaced.top);
    m_Parent.AddControl(this);
}

TxControl::~TxControl()
{
    m_Parent.RemoveControl(this);
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
    bool bChanged = !GetText().IsEqual(pszText != nullptr ? pszText : "");
    SetWindowTextA(m_hWnd, pszText);
    if (bChanged)
    {
        m_Measured.Forget();
        LayoutChanged();
    }
}

TxString TxControl::GetText() const
{
    return TxWindowText(m_hWnd);
}

void TxControl::SetVisible(bool bVisible)
{
    if (bVisible != IsVisibleFlag())
        LayoutChanged();
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

void TxControl::SetFont(const TxFont& font)
{
    Send(WM_SETFONT, reinterpret_cast<WPARAM>(font.Handle()), TRUE);
    m_Measured.Forget();
    LayoutChanged();
}

void TxControl::SetBounds(int iLeft, int iTop, int iWidth, int iHeight)
{
    m_Design = {iLeft, iTop, iWidth, iHeight};
    LayoutChanged();
}

void TxControl::SetSizedToText(int iExtra)
{
    m_iTextExtra = iExtra < 0 ? 0 : iExtra;
    LayoutChanged();
}

void TxControl::SetFollows(const TxControl& leader, int iGap)
{
    m_pLeader = &leader;
    m_iLeaderGap = iGap;
    LayoutChanged();
}

void TxControl::PlacePx(const RECT& rc)
{
    if (EqualRect(&rc, &m_rcPlaced))
        return;
    m_rcPlaced = rc;
    MoveWindowPx(rc);
}

void TxControl::MoveWindowPx(const RECT& rc)
{
    if (!SetWindowPos(m_hWnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                      SWP_NOZORDER | SWP_NOACTIVATE))
    {
        DWORD dwError = GetLastError();
        TX_LOG("TxControl::MoveWindowPx - SetWindowPos failed: error=%lu", dwError);
    }
}

void TxControl::LayoutChanged()
{
    m_Parent.MarkLayout();
}

void TxControl::Command(HWND, int) {}

LRESULT TxControl::Notify(const NMHDR&)
{
    return 0;
}

void TxControl::DrawItem(const DRAWITEMSTRUCT&) {}
