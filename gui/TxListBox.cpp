#include "TxListBox.h"

#include <vector>

TxListBox::TxListBox(TxForm& parent, int iLeft, int iTop, int iWidth, int iHeight)
    : TxControl(parent, "LISTBOX", "",
                WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_SORT | LBS_NOINTEGRALHEIGHT,
                WS_EX_CLIENTEDGE, iLeft, iTop, iWidth, iHeight)
{
}

void TxListBox::Clear()
{
    Send(LB_RESETCONTENT);
}

int TxListBox::AddItem(const char* pszText, LPARAM data)
{
    LRESULT iIndex = Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszText));
    if (iIndex < 0)
        return -1;
    Send(LB_SETITEMDATA, static_cast<WPARAM>(iIndex), data);
    return static_cast<int>(iIndex);
}

int TxListBox::Count() const
{
    return static_cast<int>(Send(LB_GETCOUNT));
}

int TxListBox::ItemIndex() const
{
    return static_cast<int>(Send(LB_GETCURSEL));
}

void TxListBox::SetItemIndex(int iIndex)
{
    Send(LB_SETCURSEL, static_cast<WPARAM>(iIndex));
}

TxString TxListBox::ItemText(int iIndex) const
{
    LRESULT iLength = Send(LB_GETTEXTLEN, static_cast<WPARAM>(iIndex));
    if (iLength == LB_ERR)
        return TxString();
    std::vector<char> buffer(static_cast<size_t>(iLength) + 1, 0);
    Send(LB_GETTEXT, static_cast<WPARAM>(iIndex), reinterpret_cast<LPARAM>(buffer.data()));
    return TxString(buffer.data());
}

LPARAM TxListBox::ItemData(int iIndex) const
{
    return Send(LB_GETITEMDATA, static_cast<WPARAM>(iIndex));
}

int TxListBox::FindExact(const char* pszText) const
{
    LRESULT iIndex =
        Send(LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(pszText));
    return iIndex == LB_ERR ? -1 : static_cast<int>(iIndex);
}

void TxListBox::Command(HWND, int iCode)
{
    if (iCode == LBN_SELCHANGE && OnClick)
        OnClick();
}
