#include "TxEdit.h"

TxEdit::TxEdit(TxForm& parent, int iLeft, int iTop, int iWidth, int iHeight)
    : TxControl(parent, "EDIT", "", WS_VISIBLE | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL,
                WS_EX_CLIENTEDGE, iLeft, iTop, iWidth, iHeight)
{
}

void TxEdit::Command(HWND, int iCode)
{
    if (iCode == EN_CHANGE && OnChange)
        OnChange();
}
