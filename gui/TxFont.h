#pragma once

#include "TxGdiHandles.h"

// A font made from a face name and a character height in pixels at 96 DPI,
// made for the system DPI.
class TxFont
{
public:
    TxFont(const char* pszFace, int iHeight, bool bBold = false);

    // Null when the font could not be made; controls then keep the system font.
    HFONT Handle() const { return m_hFont.Get(); }

private:
    TxFontHandle m_hFont;
};

// The dialogs' font, MS Sans Serif of 11 pixels at 96 DPI; lives until the
// program ends.
const TxFont& DialogFont();
// The step titles' font, Arial of 21 pixels at 96 DPI.
const TxFont& HeadingFont();
