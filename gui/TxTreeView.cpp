#include "TxTreeView.h"

#include "TxDpi.h"

#include <vector>

TxTreeView::TxTreeView(TxForm& parent, int iLeft, int iTop, int iWidth, int iHeight)
    : TxControl(parent, WC_TREEVIEWA, "",
                WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                    TVS_SHOWSELALWAYS,
                WS_EX_CLIENTEDGE, iLeft, iTop, iWidth, iHeight),
      m_bExpanding(false)
{
}

void TxTreeView::Clear()
{
    Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
}

HTREEITEM TxTreeView::Add(HTREEITEM hParent, const char* pszText)
{
    TVINSERTSTRUCTA insert = {};
    insert.hParent = hParent != nullptr ? hParent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>(pszText);
    return reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void TxTreeView::DeleteChildren(HTREEITEM hItem)
{
    HTREEITEM hChild = FirstChild(hItem);
    while (hChild != nullptr)
    {
        HTREEITEM hNext = NextSibling(hChild);
        Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(hChild));
        hChild = hNext;
    }
}

void TxTreeView::SortChildren(HTREEITEM hItem)
{
    Send(TVM_SORTCHILDREN, FALSE, reinterpret_cast<LPARAM>(hItem));
}

TxString TxTreeView::ItemText(HTREEITEM hItem) const
{
    if (hItem == nullptr)
        return TxString();
    std::vector<char> buffer(1024, 0);
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = hItem;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    if (!Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return TxString();
    return TxString(item.pszText);
}

HTREEITEM TxTreeView::Next(HTREEITEM hItem, UINT uFlag) const
{
    return reinterpret_cast<HTREEITEM>(
        Send(TVM_GETNEXTITEM, uFlag, reinterpret_cast<LPARAM>(hItem)));
}

HTREEITEM TxTreeView::FirstRoot() const
{
    return Next(nullptr, TVGN_ROOT);
}

HTREEITEM TxTreeView::ParentOf(HTREEITEM hItem) const
{
    return hItem != nullptr ? Next(hItem, TVGN_PARENT) : nullptr;
}

HTREEITEM TxTreeView::FirstChild(HTREEITEM hItem) const
{
    return hItem != nullptr ? Next(hItem, TVGN_CHILD) : nullptr;
}

HTREEITEM TxTreeView::NextSibling(HTREEITEM hItem) const
{
    return hItem != nullptr ? Next(hItem, TVGN_NEXT) : nullptr;
}

int TxTreeView::ChildCount(HTREEITEM hItem) const
{
    int iCount = 0;
    for (HTREEITEM h = FirstChild(hItem); h != nullptr; h = NextSibling(h))
        ++iCount;
    return iCount;
}

HTREEITEM TxTreeView::Selected() const
{
    return Next(nullptr, TVGN_CARET);
}

void TxTreeView::Select(HTREEITEM hItem)
{
    Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hItem));
    Send(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(hItem));
}

void TxTreeView::Expand(HTREEITEM hItem)
{
    // The control reports a program's expansion only sometimes (the first
    // time); report it exactly once.
    m_bExpanding = true;
    Send(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(hItem));
    m_bExpanding = false;
    if (OnExpanded)
        OnExpanded(hItem);
}

void TxTreeView::SetIndent(int iIndent)
{
    Send(TVM_SETINDENT, static_cast<WPARAM>(Scaled(iIndent)));
}

bool TxTreeView::TextRectOnScreen(HTREEITEM hItem, RECT& rc) const
{
    // TVM_GETITEMRECT takes the item handle in the rectangle it fills.
    *reinterpret_cast<HTREEITEM*>(&rc) = hItem;
    if (!Send(TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rc)))
        return false;
    MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&rc), 2);
    return true;
}

LRESULT TxTreeView::Notify(const NMHDR& header)
{
    if (header.code != TVN_ITEMEXPANDEDA && header.code != TVN_ITEMEXPANDEDW)
        return 0;
    if (m_bExpanding)
        return 0;
    // The A and W records agree up to the item handle and the action.
    const NMTREEVIEWA& info = reinterpret_cast<const NMTREEVIEWA&>(header);
    if ((info.action & TVE_EXPAND) != 0 && OnExpanded)
        OnExpanded(info.itemNew.hItem);
    else if ((info.action & TVE_COLLAPSE) != 0 && OnCollapsed)
        OnCollapsed(info.itemNew.hItem);
    return 0;
}
