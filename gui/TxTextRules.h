#pragma once

#include "TxString.h"
#include "TxTextFit.h"

#include <utility>
#include <vector>
#include <windows.h>

// How the system's standard controls show their texts, for the layout that
// fits them (TxFormLayout.h).

// How a control shows its text: the DrawText format and the part of its
// client width and height that the text may not use (check mark, frame).
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

// How the layout treats a control of that class and style.
TxFitKind FitKindOf(HWND hWnd, LONG_PTR lStyle, const TxTextRule& rule);
// Whether a choice of that style wraps its text when it cannot widen (a
// check box or a radio button does, a push button does not).
bool ChoiceWraps(LONG_PTR lStyle);
// The style that shows a fitted control's text as placed: a one-line label
// made narrower than its text wraps, a choice made higher takes more lines;
// otherwise the designed style. lNow is the window's style now.
LONG_PTR FittedStyle(TxFitKind kind, LONG_PTR lDesign, LONG_PTR lNow, bool bWrapped);

// A control's text as the layout measured it, kept until the text or the
// font changes, so that each text is measured once however often the form
// is fitted.
struct TxMeasuredText
{
    void Forget()
    {
        bKnown = false;
        heights.clear();
    }

    bool bKnown = false;
    TxString sText;
    TxTextRule rule;
    TxFitKind kind = TxFitKind::Fixed;
    // The text on one line (its own lines only), in the screen's pixels.
    SIZE line = {0, 0};
    // Text width -> height of the wrapped text, for the widths asked so far.
    std::vector<std::pair<int, int>> heights;
};
