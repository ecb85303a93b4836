#pragma once

#include "TxString.h"
#include "TxTextRules.h"

#include <windows.h>

class TxForm;
class TxFont;

// The text of any window (its caption or its control text).
TxString TxWindowText(HWND hWnd);
// A window's rectangle in the client coordinates of hParent, in screen
// pixels; empty when the window is gone.
RECT TxRectInParent(HWND hWnd, HWND hParent);

// A control's place as the form designed it, at 96 DPI. A negative left or
// top counts from the right or bottom edge of the form's client area; a
// width or height of 0 or less reaches to that edge, less its amount (so
// {-83, -35, 75, 25} is a button 8 pixels in from the right, and {0, 0, 0,
// -41} fills the client area but for 41 pixels at its foot).
struct TxDesignRect
{
    int iLeft;
    int iTop;
    int iWidth;
    int iHeight;
};

// A child window of a form, of one of the system's standard classes. The
// form hands it the notifications that name its window. Positions and sizes
// are 96-DPI values (TxDpi.h).
//
// The control keeps its design rectangle; the form places it from there
// (TxFormLayout.h), giving a text that does not fit the room it needs. A
// change of text, visibility, font or design marks the form, which fits its
// controls again once the message that changed them has been handled.
class TxControl
{
public:
    // Creates the window (WS_CHILD is added) with the form's font and
    // registers it with the form; the rectangle is its design rectangle.
    // Throws ExNormal when it cannot be made.
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
    void SetFont(const TxFont& font);

    // The design rectangle within the form's client area (TxDesignRect).
    void SetBounds(int iLeft, int iTop, int iWidth, int iHeight);
    const TxDesignRect& Design() const { return m_Design; }
    // The width follows the text, plus iExtra at 96 DPI (a check mark), and
    // so does the height where the designed one is 0 (a label); the designed
    // width is not used.
    void SetSizedToText(int iExtra);
    bool IsSizedToText() const { return m_iTextExtra >= 0; }
    int TextExtra() const { return m_iTextExtra; }
    // The left edge follows the right edge of leader, as placed, iGap
    // pixels at 96 DPI after it; the designed left is not used.
    void SetFollows(const TxControl& leader, int iGap);
    const TxControl* Leader() const { return m_pLeader; }
    int LeaderGap() const { return m_iLeaderGap; }
    // Never moved by the fitting of other texts (the dialog's own buttons
    // and title); it may still widen to its own text.
    void SetPinned(bool bPinned) { m_bPinned = bPinned; }
    bool IsPinned() const { return m_bPinned; }

    // Used by the form's layout: the style the control was made with, its
    // text as measured, and its placing in the screen's pixels.
    LONG_PTR DesignStyle() const { return m_lDesignStyle; }
    TxMeasuredText& Measured() { return m_Measured; }
    // Places the window (and any parts of it) unless it is there already.
    void PlacePx(const RECT& rc);

    // WM_COMMAND notification iCode from hFrom (this control or a part of it).
    virtual void Command(HWND hFrom, int iCode);
    virtual LRESULT Notify(const NMHDR& header);
    virtual void DrawItem(const DRAWITEMSTRUCT& draw);

protected:
    // Moves the window to rc, in the screen's pixels; controls made of more
    // than one window move their parts with it.
    virtual void MoveWindowPx(const RECT& rc);
    // The text, visibility, font or design changed: the form fits again.
    void LayoutChanged();
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
    LONG_PTR m_lDesignStyle;
    TxDesignRect m_Design;
    int m_iTextExtra;
    const TxControl* m_pLeader;
    int m_iLeaderGap;
    bool m_bPinned;
    RECT m_rcPlaced;
    TxMeasuredText m_Measured;
};
