#include "TxImage.h"

#include <utility>

TxImage::TxImage(TxForm& parent, int iLeft, int iTop, int iWidth, int iHeight)
    : TxControl(parent, "STATIC", "", WS_VISIBLE | WS_CLIPSIBLINGS | SS_BITMAP, 0, iLeft, iTop,
                iWidth, iHeight)
{
}

TxImage::~TxImage()
{
    Send(STM_SETIMAGE, IMAGE_BITMAP, 0);
}

void TxImage::SetBitmap(TxBitmap&& bitmap)
{
    m_Bitmap = std::move(bitmap);
    Send(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_Bitmap.Get()));
}
