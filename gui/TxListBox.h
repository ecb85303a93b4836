#pragma once

#include "TxControl.h"

#include "TxCallback.h"

// A list box whose items are kept sorted alphabetically; each item carries
// a number of the caller's.
class TxListBox : public TxControl
{
public:
    TxListBox(TxForm& parent, int iLeft, int iTop, int iWidth, int iHeight);

    void Clear();
    // Adds an item at its sorted place; returns its index or -1.
    int AddItem(const char* pszText, LPARAM data);
    int Count() const;
    // -1 when nothing is selected.
    int ItemIndex() const;
    void SetItemIndex(int iIndex);
    TxString ItemText(int iIndex) const;
    LPARAM ItemData(int iIndex) const;
    // The item whose whole text equals pszText, letter case ignored; -1 if none.
    int FindExact(const char* pszText) const;

    void Command(HWND hFrom, int iCode) override;

    // Runs when the selection changes through the user (or a notification
    // that imitates one), not when the program sets it.
    TxCallback<void()> OnClick;
};
