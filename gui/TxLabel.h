#pragma once

#include "TxControl.h"

enum class TxLabelKind
{
    AutoSize, // one or more lines, the control takes the size of its text
    WordWrap, // fixed size, lines wrapped at word boundaries
    Centred,  // fixed size, each line centred
};

// A static text.
class TxLabel : public TxControl
{
public:
    TxLabel(TxForm& parent, int iLeft, int iTop, int iWidth, int iHeight, const char* pszText,
            TxLabelKind kind);

    void SetText(const char* pszText) override;
    // Sets the font and, for an auto-sized label, measures the text anew.
    void SetLabelFont(const TxFont& font);

private:
    void FitToText();

    TxLabelKind m_Kind;
};
