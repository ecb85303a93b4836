#include "TxRadioButton.h"

TxRadioButton::TxRadioButton(TxForm& parent, int iLeft, int iTop, int iWidth, int iHeight,
                             const char* pszText, bool bStartsGroup)
    : TxControl(parent, "BUTTON", pszText,
                WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON | (bStartsGroup ? WS_GROUP : 0), 0,
                iLeft, iTop, iWidth, iHeight)
{
}

bool TxRadioButton::IsChecked() const
{
    return Send(BM_GETCHECK) == BST_CHECKED;
}

void TxRadioButton::SetChecked(bool bChecked)
{
    Send(BM_SETCHECK, bChecked ? BST_CHECKED : BST_UNCHECKED);
}

void TxRadioButton::Command(HWND, int iCode)
{
    if (iCode == BN_CLICKED && IsUsable() && OnClick)
        OnClick();
}
