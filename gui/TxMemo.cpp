#include "TxMemo.h"

#include <vector>

TxMemo::TxMemo(TxForm& parent, int iLeft, int iTop, int iWidth, int iHeight)
    : TxControl(parent, "EDIT", "", WS_VISIBLE | ES_MULTILINE | ES_READONLY, 0, iLeft, iTop, iWidth,
                iHeight)
{
}

void TxMemo::SetText(const char* pszText)
{
    // Not std::string: its out-of-line members would add tens of KiB to
    // Setup.exe.
    std::vector<char> text;
    for (const char* p = pszText; p != nullptr && *p != 0; ++p)
    {
        if (*p == '\n' && (p == pszText || p[-1] != '\r'))
            text.push_back('\r');
        text.push_back(*p);
    }
    text.push_back(0);
    TxControl::SetText(text.data());
}
