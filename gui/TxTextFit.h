#pragma once

#include "TxCallback.h"
#include <vector>
#include <windows.h>

// The layout that gives translated texts the room they need instead of
// cutting them, on rectangles alone (TxFormLayout.h applies it to a form): a
// text that fits keeps its control exactly where the form put it; one that
// does not fit grows its control into free space of the client area, pushing
// the controls below down where they can go, without ever overlapping
// another control or leaving the client area.

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
    TxCallback<int(int iWidth)> HeightAt;
};

// The fitted rectangles, one per item in the same order. iGap is the least
// free space kept between controls and to the client edges; rcClient is the
// area no control may leave.
std::vector<RECT> FitTextLayout(const std::vector<TxFitItem>& items, const RECT& rcClient,
                                int iGap);
