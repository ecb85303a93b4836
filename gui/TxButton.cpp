#include "TxButton.h"

TxButton::TxButton(TxForm& parent, int iLeft, int iTop, int iWidth, int iHeight,
                   const char* pszText, bool bDefault)
    : TxControl(parent, "BUTTON", pszText,
                WS_VISIBLE | WS_TABSTOP | (bDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0, iLeft,
                iTop, iWidth, iHeight)
{
}

void TxButton::Click()
{
    if (IsUsable() && OnClick)
        OnClick();
}

void TxButton::Command(HWND, int iCode)
{
    if (iCode == BN_CLICKED)
        Click();
}
