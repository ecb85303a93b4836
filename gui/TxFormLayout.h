#pragma once

#include <vector>
#include <windows.h>

class TxControl;

// Places the controls of the form hForm, in the order they were made:
// each design rectangle (TxDesignRect) is scaled to the screen and resolved
// against the client area, sized to its text or set after its leader where
// the control asks for it (TxControl), and then, for the visible controls,
// fitted to their texts (TxTextFit.h) so that no translated text is cut. A
// hidden control keeps its designed place and takes no room.
//
// Texts are measured once each and kept with their control until the text
// or the font changes; a text that fits on one line is not measured again
// for its wrapping.
void LayoutControls(HWND hForm, const std::vector<TxControl*>& controls);
