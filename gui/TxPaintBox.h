#pragma once

#include "TxControl.h"

#include "TxCallback.h"

// An area the form paints itself.
class TxPaintBox : public TxControl
{
public:
    TxPaintBox(TxForm& parent, int iLeft, int iTop, int iWidth, int iHeight);

    void DrawItem(const DRAWITEMSTRUCT& draw) override;

    TxCallback<void(HDC, const RECT&)> OnPaint;
};
