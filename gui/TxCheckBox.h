#pragma once

#include "TxControl.h"

#include <functional>

// A check box that toggles itself when clicked.
class TxCheckBox : public TxControl
{
public:
    TxCheckBox(TxForm& parent, int iLeft, int iTop, int iWidth, int iHeight, const char* pszText);

    bool IsChecked() const;
    void SetChecked(bool bChecked);
    void Command(HWND hFrom, int iCode) override;

    std::function<void()> OnClick;
};
