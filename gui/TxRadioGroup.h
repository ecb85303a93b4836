#pragma once

#include "TxControl.h"
#include "TxRadioButton.h"

#include "TxCallback.h"
#include <memory>
#include <vector>

// A framed group with a caption and one radio button per item, one below
// the other inside the frame; exactly the selected item is checked.
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

    void SetEnabled(bool bEnabled) override;
    void SetVisible(bool bVisible) override;

    // A click on an item.
    TxCallback<void()> OnClick;

private:
    // Gives each item its design rectangle: the rows share the frame below
    // its caption.
    void Arrange();

    std::vector<std::unique_ptr<TxRadioButton>> m_Items;
};
