#pragma once

#include "TxControl.h"

enum class TxLabelKind
{
    AutoSize, // one or more lines, the control takes the size of its text
    WordWrap, // fixed size, lines wrapped at word boundaries
    Centred,  // fixed size, each line centred
    Path,     // fixed size, one line; a path too long for it loses its middle to "..."
};

// A static text. An auto-sized label is given its place only; the form's
// layout sizes it to its text.
class TxLabel : public TxControl
{
public:
    TxLabel(TxForm& parent, int iLeft, int iTop, int iWidth, int iHeight, const char* pszText,
            TxLabelKind kind);
};
