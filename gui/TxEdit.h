#pragma once

#include "TxControl.h"

#include "TxCallback.h"

// A single-line edit box.
class TxEdit : public TxControl
{
public:
    TxEdit(TxForm& parent, int iLeft, int iTop, int iWidth, int iHeight);

    void Command(HWND hFrom, int iCode) override;

    // Runs on every change of the text, also one made by the program.
    TxCallback<void()> OnChange;
};
