#pragma once

#include "TxControl.h"

#include "TxCallback.h"

// A push button; the form's default button is drawn as such.
class TxButton : public TxControl
{
public:
    TxButton(TxForm& parent, int iLeft, int iTop, int iWidth, int iHeight, const char* pszText,
             bool bDefault = false);

    // Runs OnClick, but only while the button is visible and enabled, so a
    // click sent by another program behaves like a user's.
    void Click();
    void Command(HWND hFrom, int iCode) override;

    TxCallback<void()> OnClick;
};
