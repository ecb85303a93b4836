#include "TxRadioGroup.h"

#include "TxDpi.h"

#include <vector>

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
                iWidth, iHeight),
      m_Bounds(BoundsPx())
{
}

TxRadioGroup::~TxRadioGroup()
{
    Clear();
}

void TxRadioGroup::Clear()
{
    for (HWND hItem : m_Items)
        DestroyPart(hItem);
    m_Items.clear();
}

void TxRadioGroup::Add(const char* pszText)
{
    DWORD dwStyle = BS_AUTORADIOBUTTON | (IsVisibleFlag() ? WS_VISIBLE : 0);
    if (m_Items.empty())
        dwStyle |= WS_GROUP | WS_TABSTOP;
    HWND hItem = CreatePart("BUTTON", pszText, dwStyle, 0, 0, 0, 0, 0);
    EnableWindow(hItem, IsEnabled());
    // Items stand right above the frame in the z-order, in their own order:
    // the frame then never paints over them and the tab order follows them.
    HWND hAfter = m_Items.empty() ? GetWindow(Handle(), GW_HWNDPREV) : m_Items.back();
    SetWindowPos(hItem, hAfter != nullptr ? hAfter : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    m_Items.push_back(hItem);
    Arrange();
}

TxString TxRadioGroup::ItemText(int iIndex) const
{
    if (iIndex < 0 || iIndex >= Count())
        return TxString();
    char szText[512] = "";
    GetWindowTextA(m_Items[static_cast<size_t>(iIndex)], szText, sizeof(szText));
    return TxString(szText);
}

int TxRadioGroup::ItemIndex() const
{
    for (size_t i = 0; i < m_Items.size(); ++i)
        if (SendMessageA(m_Items[i], BM_GETCHECK, 0, 0) == BST_CHECKED)
            return static_cast<int>(i);
    return -1;
}

void TxRadioGroup::SetItemIndex(int iIndex)
{
    for (size_t i = 0; i < m_Items.size(); ++i)
        SendMessageA(m_Items[i], BM_SETCHECK,
                     static_cast<int>(i) == iIndex ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TxRadioGroup::SetBoundsPx(int iLeft, int iTop, int iWidth, int iHeight)
{
    TxControl::SetBoundsPx(iLeft, iTop, iWidth, iHeight);
    m_Bounds = BoundsPx();
    Arrange();
}

void TxRadioGroup::SetEnabled(bool bEnabled)
{
    TxControl::SetEnabled(bEnabled);
    for (HWND hItem : m_Items)
        EnableWindow(hItem, bEnabled ? TRUE : FALSE);
}

void TxRadioGroup::SetVisible(bool bVisible)
{
    TxControl::SetVisible(bVisible);
    for (HWND hItem : m_Items)
        ShowWindow(hItem, bVisible ? SW_SHOWNA : SW_HIDE);
}

void TxRadioGroup::Command(HWND hFrom, int iCode)
{
    if (iCode == BN_CLICKED && hFrom != Handle() && IsWindowEnabled(hFrom) && OnClick)
        OnClick();
}

void TxRadioGroup::Arrange()
{
    int iCount = Count();
    if (iCount == 0)
        return;
    int iIndent = Scaled(ITEM_INDENT);
    int iItemHeight = Scaled(ITEM_HEIGHT);
    int iCaptionSpace = Scaled(CAPTION_SPACE);
    int iWidth = m_Bounds.right - m_Bounds.left - 2 * iIndent;
    int iRow = (m_Bounds.bottom - m_Bounds.top - iCaptionSpace - Scaled(FRAME_SPACE)) / iCount;
    for (int i = 0; i < iCount; ++i)
    {
        int iTop = m_Bounds.top + iCaptionSpace + i * iRow + (iRow - iItemHeight) / 2;
        SetWindowPos(m_Items[static_cast<size_t>(i)], nullptr, m_Bounds.left + iIndent, iTop,
                     iWidth, iItemHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
