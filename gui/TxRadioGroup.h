#pragma once

#include "TxControl.h"

#include <functional>
#include <vector>

// A framed group with a caption and one radio button per item, one below
// the other; exactly the selected item is checked.
class TxRadioGroup : public TxControl
{
public:
    TxRadioGroup(TxForm& parent, int iLeft, int iTop, int iWidth, int iHeight,
                 const char* pszCaption);
    ~TxRadioGroup() override;

    void Clear();
    void Add(const char* pszText);
    int Count() const { return static_cast<int>(m_Items.size()); }
    TxString ItemText(int iIndex) const;
    // -1 when no item is checked.
    int ItemIndex() const;
    void SetItemIndex(int iIndex);

    // The items follow the frame.
    void SetBoundsPx(int iLeft, int iTop, int iWidth, int iHeight) override;
    void SetEnabled(bool bEnabled) override;
    void SetVisible(bool bVisible) override;
    void Command(HWND hFrom, int iCode) override;

    std::function<void()> OnClick;

private:
    void Arrange();

    // The frame's place in the screen's pixels.
    RECT m_Bounds;
    std::vector<HWND> m_Items;
};
