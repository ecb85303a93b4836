#include "TxCheckBox.h"

TxCheckBox::TxCheckBox(TxForm& parent, int iLeft, int iTop, int iWidth, int iHeight,
                       const char* pszText)
    : TxControl(parent, "BUTTON", pszText, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, iLeft,
                iTop, iWidth, iHeight)
{
}

bool TxCheckBox::IsChecked() const
{
    return Send(BM_GETCHECK) == BST_CHECKED;
}

void TxCheckBox::SetChecked(bool bChecked)
{
    Send(BM_SETCHECK, bChecked ? BST_CHECKED : BST_UNCHECKED);
}

void TxCheckBox::Command(HWND, int iCode)
{
    if (iCode == BN_CLICKED && IsUsable() && OnClick)
        OnClick();
}
