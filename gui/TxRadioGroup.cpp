#include "TxRadioGroup.h"

namespace
{
// Sizes at 96 DPI. Room above the first item for the frame's caption:
constexpr int CAPTION_SPACE = 14;
// Room below the last item for the frame's lower edge.
constexpr int FRAME_SPACE = 4;
constexpr int ITEM_HEIGHT = 17;
constexpr int ITEM_INDENT = 8;
} // namespace

TxRadioGroup::TxRadioGroup(TxForm& parent, int iLeft, int iTop, int iWidth, int iHeight,
                           const char* pszCaption)
    : TxControl(parent, "BUTTON", pszCaption, WS_VISIBLE | WS_GROUP | BS_GROUPBOX, 0, iLeft, iTop,
                iWidth, iHeight)
{
}

TxRadioGroup::~TxRadioGroup()
{
    Clear();
}

void TxRadioGroup::Clear()
{
    m_Items.clear();
}

void TxRadioGroup::Add(const char* pszText)
{
    auto pItem = std::make_unique<TxRadioButton>(Parent(), 0, 0, 0, 0, pszText, m_Items.empty());
    HWND hItem = pItem->Handle();
    if (!IsVisibleFlag())
        pItem->Hide();
    pItem->SetEnabled(IsEnabled());
    pItem->OnClick = [this]
    {
        if (OnClick)
            OnClick();
    };
    // Items stand right above the frame in the z-order, in their own order:
    // the frame then never paints over them and the tab order follows them.
    HWND hAfter = m_Items.empty() ? GetWindow(Handle(), GW_HWNDPREV) : m_Items.back()->Handle();
    SetWindowPos(hItem, hAfter != nullptr ? hAfter : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    m_Items.push_back(std::move(pItem));
    Arrange();
}

TxString TxRadioGroup::ItemText(int iIndex) const
{
    if (iIndex < 0 || iIndex >= Count())
        return TxString();
    return m_Items[static_cast<size_t>(iIndex)]->GetText();
}

int TxRadioGroup::ItemIndex() const
{
    for (size_t i = 0; i < m_Items.size(); ++i)
        if (m_Items[i]->IsChecked())
            return static_cast<int>(i);
    return -1;
}

void TxRadioGroup::SetItemIndex(int iIndex)
{
    for (size_t i = 0; i < m_Items.size(); ++i)
        m_Items[i]->SetChecked(static_cast<int>(i) == iIndex);
}

void TxRadioGroup::SetEnabled(bool bEnabled)
{
    TxControl::SetEnabled(bEnabled);
    for (const auto& pItem : m_Items)
        pItem->SetEnabled(bEnabled);
}

void TxRadioGroup::SetVisible(bool bVisible)
{
    TxControl::SetVisible(bVisible);
    for (const auto& pItem : m_Items)
        pItem->SetVisible(bVisible);
}

void TxRadioGroup::Arrange()
{
    const TxDesignRect& frame = Design();
    int iCount = Count();
    int iRow = (frame.iHeight - CAPTION_SPACE - FRAME_SPACE) / iCount;
    for (int i = 0; i < iCount; ++i)
        m_Items[static_cast<size_t>(i)]->SetBounds(frame.iLeft + ITEM_INDENT,
                                                   frame.iTop + CAPTION_SPACE + i * iRow +
                                                       (iRow - ITEM_HEIGHT) / 2,
                                                   frame.iWidth - 2 * ITEM_INDENT, ITEM_HEIGHT);
}
