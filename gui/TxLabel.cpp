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
    case TxLabelKind::Path:
        return SS_LEFTNOWORDWRAP | SS_PATHELLIPSIS;
    case TxLabelKind::WordWrap:
        break;
    }
    return SS_LEFT;
}
} // namespace

TxLabel::TxLabel(TxForm& parent, int iLeft, int iTop, int iWidth, int iHeight, const char* pszText,
                 TxLabelKind kind)
    : TxControl(parent, "STATIC", pszText, WS_VISIBLE | SS_NOPREFIX | LabelStyle(kind), 0, iLeft,
                iTop, iWidth, iHeight)
{
    if (kind == TxLabelKind::AutoSize)
        SetSizedToText(0);
}
