#pragma once

#include "TxControl.h"

#include "TxCallback.h"

// A radio button; it unchecks the other buttons of its group (the buttons
// created after the one that starts the group) when it is clicked.
class TxRadioButton : public TxControl
{
public:
    TxRadioButton(TxForm& parent, int iLeft, int iTop, int iWidth, int iHeight, const char* pszText,
                  bool bStartsGroup);

    bool IsChecked() const;
    void SetChecked(bool bChecked);
    void Command(HWND hFrom, int iCode) override;

    TxCallback<void()> OnClick;
};
