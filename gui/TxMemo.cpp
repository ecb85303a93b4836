#include "TxMemo.h"

#include <string>

TxMemo::TxMemo(TxForm& parent, int iLeft, int iTop, int iWidth, int iHeight)
    : TxControl(parent, "EDIT", "", WS_VISIBLE | ES_MULTILINE | ES_READONLY, 0, iLeft, iTop, iWidth,
                iHeight)
{
}

void TxMemo::SetText(const char* pszText)
{
    std::string text;
    for (const char* p = pszText; p != nullptr && *p != 0; ++p)
    {
        if (*p == '\n' && (p == pszText || p[-1] != '\r'))
            text += '\r';
        text += *p;
    }
    TxControl::SetText(text.c_str());
}
