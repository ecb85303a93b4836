#pragma once

#include "TxControl.h"
#include "TxGdiHandles.h"

// Shows a bitmap that it owns.
class TxImage : public TxControl
{
public:
    TxImage(TxForm& parent, int iLeft, int iTop, int iWidth, int iHeight);
    ~TxImage() override;

    void SetBitmap(TxBitmap&& bitmap);

private:
    TxBitmap m_Bitmap;
};
