#include "TxProgressBar.h"

#include <commctrl.h>

TxProgressBar::TxProgressBar(TxForm& parent, int iLeft, int iTop, int iWidth, int iHeight)
    : TxControl(parent, PROGRESS_CLASSA, "", WS_VISIBLE, 0, iLeft, iTop, iWidth, iHeight)
{
    Send(PBM_SETRANGE32, 0, 100);
}

void TxProgressBar::SetPosition(int iPosition)
{
    Send(PBM_SETPOS, static_cast<WPARAM>(iPosition));
}

int TxProgressBar::Position() const
{
    return static_cast<int>(Send(PBM_GETPOS));
}
