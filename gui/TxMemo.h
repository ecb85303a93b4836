#pragma once

#include "TxControl.h"

// A read-only, borderless multi-line text in the dialog's colour.
class TxMemo : public TxControl
{
public:
    TxMemo(TxForm& parent, int iLeft, int iTop, int iWidth, int iHeight);

    // Lone line feeds become the CR LF pairs the edit control breaks at.
    void SetText(const char* pszText) override;
};
