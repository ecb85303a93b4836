#pragma once

#include "TxControl.h"

#include <commctrl.h>
#include "TxCallback.h"

// A tree of text nodes without label editing, whose selection stays
// visible while it has no focus.
class TxTreeView : public TxControl
{
public:
    TxTreeView(TxForm& parent, int iLeft, int iTop, int iWidth, int iHeight);

    void Clear();
    // Appends a node under hParent (null: a top-level node).
    HTREEITEM Add(HTREEITEM hParent, const char* pszText);
    void DeleteChildren(HTREEITEM hItem);
    void SortChildren(HTREEITEM hItem);
    TxString ItemText(HTREEITEM hItem) const;
    HTREEITEM FirstRoot() const;
    HTREEITEM ParentOf(HTREEITEM hItem) const;
    HTREEITEM FirstChild(HTREEITEM hItem) const;
    HTREEITEM NextSibling(HTREEITEM hItem) const;
    int ChildCount(HTREEITEM hItem) const;
    HTREEITEM Selected() const;
    void Select(HTREEITEM hItem);
    // Expands the node and runs OnExpanded once, as a click on its button does.
    void Expand(HTREEITEM hItem);
    // The indent of each level, at 96 DPI.
    void SetIndent(int iIndent);
    // The node's text rectangle in screen coordinates; false if not shown.
    bool TextRectOnScreen(HTREEITEM hItem, RECT& rc) const;

    LRESULT Notify(const NMHDR& header) override;

    TxCallback<void(HTREEITEM)> OnExpanded;
    TxCallback<void(HTREEITEM)> OnCollapsed;

private:
    HTREEITEM Next(HTREEITEM hItem, UINT uFlag) const;

    bool m_bExpanding;
};
