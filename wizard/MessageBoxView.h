#pragma once

#include "IMessageView.h"
#include "TxMessageBox.h"

// The engine's message boxes as real boxes over the active form.
class CMessageBoxView : public IMessageView
{
public:
    int ShowMessage(const char* pszText, const char* pszCaption, unsigned uFlags) override
    {
        return TxMessageBox(pszText, pszCaption, uFlags);
    }
};
