#include "TxLabel.h"

namespace
{
DWORD LabelStyle(TxLabelKind kind)
{
    switch (kind)
    {
    case TxLabelKind::AutoSize:
        return SS_LEFTNOWORDWRAP;
    case TxLabelKind::Centred:
        return SS_CENTER;
    case TxLabelKind::WordWrap:
        break;
    }
    return SS_LEFT;
}
} // namespace

TxLabel::TxLabel(TxForm& parent, int iLeft, int iTop, int iWidth, int iHeight, const char* pszText,
                 TxLabelKind kind)
    : TxControl(parent, "STATIC", pszText, WS_VISIBLE | SS_NOPREFIX | LabelStyle(kind), 0, iLeft,
                iTop, iWidth, iHeight),
      m_Kind(kind)
{
    FitToText();
}

void TxLabel::SetText(const char* pszText)
{
    TxControl::SetText(pszText);
    FitToText();
}

void TxLabel::SetLabelFont(const TxFont& font)
{
    SetFont(font);
    FitToText();
}

void TxLabel::FitToText()
{
    if (m_Kind != TxLabelKind::AutoSize)
        return;
    SIZE size = TextExtent(GetText().GetText());
    SetWindowPos(Handle(), nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}
