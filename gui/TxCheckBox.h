#pragma once

#include "TxControl.h"

#include "TxCallback.h"

// A check box that toggles itself when clicked.
class TxCheckBox : public TxControl
{
public:
    TxCheckBox(TxForm& parent, int iLeft, int iTop, int iWidth, int iHeight, const char* pszText);

    bool IsChecked() const;
    void SetChecked(bool bChecked);
    void Command(HWND hFrom, int iCode) override;

    TxCallback<void()> OnClick;
};
