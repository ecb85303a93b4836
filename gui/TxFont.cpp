#include "TxFont.h"

#include "CLog.h"
#include "TxDpi.h"

TxFont::TxFont(const char* pszFace, int iHeight, bool bBold)
{
    // A negative height asks for the character height, not the cell height.
    m_hFont.Reset(CreateFontA(-Scaled(iHeight), 0, 0, 0, bBold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                              FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                              DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, pszFace));
    if (!m_hFont.IsValid())
        TX_LOG("TxFont::TxFont - CreateFontA failed: face=%s, height=%d", pszFace, iHeight);
}

const TxFont& DialogFont()
{
    static const TxFont s_Font("MS Sans Serif", 11);
    return s_Font;
}

const TxFont& HeadingFont()
{
    static const TxFont s_Font("Arial", 21);
    return s_Font;
}
