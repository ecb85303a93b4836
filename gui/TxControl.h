#pragma once

#include "TxString.h"

#include <windows.h>

class TxForm;
class TxFont;

// The text of any window (its caption or its control text).
TxString TxWindowText(HWND hWnd);
// A window's rectangle in the client coordinates of hParent, in screen
// pixels; empty when the window is gone.
RECT TxRectInParent(HWND hWnd, HWND hParent);

// A child window of a form, of one of the system's standard classes. The
// form hands it the notifications that name its window. Positions and sizes
// are 96-DPI values (TxDpi.h) except in the members whose names end in Px.
class TxControl
{
public:
    // Creates the window (WS_CHILD is added) with the form's font and
    // registers it with the form. Throws ExNormal when it cannot be made.
    TxControl(TxForm& parent, const char* pszClass, const char* pszText, DWORD dwStyle,
              DWORD dwExStyle, int iLeft, int iTop, int iWidth, int iHeight);
    virtual ~TxControl();
    TxControl(const TxControl&) = delete;
    TxControl& operator=(const TxControl&) = delete;

    HWND Handle() const { return m_hWnd; }
    int Id() const { return m_iId; }
    TxForm& Parent() const { return m_Parent; }

    virtual void SetText(const char* pszText);
    TxString GetText() const;
    virtual void SetVisible(bool bVisible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // The control's own visibility, whether or not its form is shown.
    bool IsVisibleFlag() const;
    virtual void SetEnabled(bool bEnabled);
    bool IsEnabled() const { return IsWindowEnabled(m_hWnd) != FALSE; }
    // Visible and enabled: what a user can click or focus.
    bool IsUsable() const { return IsVisibleFlag() && IsEnabled(); }
    void SetFocus();
    // Place and size within the form's client area, at 96 DPI.
    void SetBounds(int iLeft, int iTop, int iWidth, int iHeight);
    void SetPosition(int iLeft, int iTop);
    // The same in the screen's pixels, for layouts made from measured texts.
    RECT BoundsPx() const;
    virtual void SetBoundsPx(int iLeft, int iTop, int iWidth, int iHeight);
    void SetPositionPx(int iLeft, int iTop);
    void SetFont(const TxFont& font);
    // The size of pszText (lines and all) in the control's font, in the
    // screen's pixels.
    SIZE TextExtent(const char* pszText) const;

    // WM_COMMAND notification iCode from hFrom (this control or a part of it).
    virtual void Command(HWND hFrom, int iCode);
    virtual LRESULT Notify(const NMHDR& header);
    virtual void DrawItem(const DRAWITEMSTRUCT& draw);

protected:
    // Creates one more child window that reports to this control; its place
    // is in the screen's pixels.
    HWND CreatePart(const char* pszClass, const char* pszText, DWORD dwStyle, DWORD dwExStyle,
                    int iLeft, int iTop, int iWidth, int iHeight);
    void DestroyPart(HWND hWnd);
    LRESULT Send(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return SendMessageA(m_hWnd, uMsg, wParam, lParam);
    }

private:
    TxForm& m_Parent;
    int m_iId;
    HWND m_hWnd;
};
