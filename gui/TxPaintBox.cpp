#include "TxPaintBox.h"

TxPaintBox::TxPaintBox(TxForm& parent, int iLeft, int iTop, int iWidth, int iHeight)
    : TxControl(parent, "STATIC", "", WS_VISIBLE | WS_CLIPSIBLINGS | SS_OWNERDRAW, 0, iLeft, iTop,
                iWidth, iHeight)
{
}

void TxPaintBox::DrawItem(const DRAWITEMSTRUCT& draw)
{
    if (OnPaint)
        OnPaint(draw.hDC, draw.rcItem);
}
