#pragma once

#include "TxControl.h"

// A progress bar over the range 0 to 100.
class TxProgressBar : public TxControl
{
public:
    TxProgressBar(TxForm& parent, int iLeft, int iTop, int iWidth, int iHeight);

    void SetPosition(int iPosition);
    int Position() const;
};
