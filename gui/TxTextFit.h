#pragma once

#include <functional>
#include <vector>
#include <windows.h>

// Translated texts get the room they need instead of being cut: a text that
// fits keeps its control exactly where the form put it; one that does not
// fit grows its control into free space of the client area, pushing the
// controls below down where they can go, without ever overlapping another
// control or leaving the client area.

enum class TxFitKind
{
    Fixed,  // keeps its size; moves down with the controls above it
    Text,   // wrapped text (label, memo) of a fixed width: grows in height, else widens
    Line,   // one line: where it runs into something it wraps and grows
    Choice, // check box, radio or push button: widens, else (not buttons) wraps and grows
    Group,  // group box: its caption may widen it, its members make it grow
};

struct TxFitItem
{
    RECT rc = {0, 0, 0, 0};
    TxFitKind kind = TxFitKind::Fixed;
    // Stays where it is (the dialog's own buttons at its foot).
    bool bAnchored = false;
    // Index of the group box the item lies in, or -1.
    int iGroup = -1;
    // The control width that shows the text on one line; 0 when any does.
    int iLineWidth = 0;
    // The control height the text needs at a control width; empty when the
    // control's height always fits.
    std::function<int(int iWidth)> HeightAt;
};

// The fitted rectangles, one per item in the same order. iGap is the least
// free space kept between controls and to the client edges; rcClient is the
// area no control may leave.
std::vector<RECT> FitTextLayout(const std::vector<TxFitItem>& items, const RECT& rcClient,
                                int iGap);

// How a standard control shows its text: the DrawText format and the part of
// its client width that the text may not use (check mark, frame).
struct TxTextRule
{
    bool bMeasured = false; // false: the control shows no text of its own (edits, trees)
    UINT uFormat = 0;
    int iChromeWidth = 0;
    int iChromeHeight = 0;
};

// The rule for a window of its class with the style lStyle; hDc has the
// window's font selected and iDpi is the window's DPI.
TxTextRule TextRuleOf(HWND hWnd, LONG_PTR lStyle, HDC hDc, int iDpi);
// The size the text takes with that rule at a text width (wrapping rules).
SIZE MeasureText(HDC hDc, const char* pszText, UINT uFormat, int iWidth);

// Applies the fitting to the child windows of a form. It remembers the
// rectangles the form gave each control and those it gave them itself, so
// that a later pass (other texts, other language) starts again from the
// form's layout and a text that fits again gets its place back.
class TxTextFitter
{
public:
    // Controls that never move (the dialog's own buttons).
    void Anchor(HWND hWnd) { m_Anchored.push_back(hWnd); }
    // The area no control may leave, in 96-DPI pixels (scaled to the
    // screen's DPI); the form's whole client area when not set.
    void SetArea(int iWidth, int iHeight)
    {
        m_Area.cx = iWidth;
        m_Area.cy = iHeight;
    }
    // Fits every child of hForm to its current text.
    void Fit(HWND hForm);

private:
    struct Placed
    {
        HWND hWnd;
        RECT rcDesign;
        RECT rcApplied;
        LONG_PTR lDesignStyle;
        LONG_PTR lAppliedStyle;
    };
    Placed& Remember(HWND hWnd, const RECT& rcNow, LONG_PTR lStyleNow);

    std::vector<HWND> m_Anchored;
    std::vector<Placed> m_Placed;
    SIZE m_Area = {0, 0};
};
