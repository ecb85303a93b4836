#pragma once

#include "FolderTreePath.h"
#include "TxButton.h"
#include "TxForm.h"
#include "TxProgressBar.h"
#include "TxTreeView.h"

// The folder chooser: a tree of the drives and their folders, loaded one
// level ahead of what is shown. It is on screen before it lists, so that a
// long listing shows its progress.
class TFormTree : public TxForm, private IFolderTree
{
public:
    // An expansion that takes longer than dwProgressDelayMs shows its
    // progress.
    explicit TFormTree(DWORD dwProgressDelayMs = 1000);

    void SetTexts();
    // Shows the chooser modally with sFolder selected. After OK sFolder is
    // the chosen folder and the result true; after Cancel sFolder is as it was.
    bool Choose(TxString& sFolder);
    // What a Browse button puts in its edit: the chooser opens at the parent
    // of the product folder pszProductFolder in sPath, and that folder comes
    // back after the chosen one, after Cancel too.
    TxString Browse(const TxString& sPath, const char* pszProductFolder);
    // Rebuilds the whole tree: one node per present drive from C to Z.
    void FillDrives();
    // Replaces the children of hNode by the visible subfolders of pszPath.
    void FillSubfolders(const char* pszPath, HTREEITEM hNode);
    TxString NodePath(HTREEITEM hNode) const;
    void SelectPath(const char* pszPath, HTREEITEM hNode);

    TxTreeView TreeView;
    TxButton ButtonNewFolder;
    TxButton ButtonOk;
    TxButton ButtonCancel;
    TxProgressBar ProgressBar;

protected:
    void FormShown() override;

private:
    void ButtonOkClick();
    void ButtonNewFolderClick();
    void TreeViewExpanded(HTREEITEM hNode);
    void TreeViewCollapsed(HTREEITEM hNode);

    // The folder selected at opening, then the one chosen with OK.
    TxString m_sFolder;
    DWORD m_dwProgressDelay;

    FolderNode ParentOf(FolderNode node) const override;
    FolderNode FirstChild(FolderNode node) const override;
    FolderNode NextSibling(FolderNode node) const override;
    TxString NodeText(FolderNode node) const override;
    void ExpandNode(FolderNode node) override;
    void SelectNode(FolderNode node) override;
};

extern TFormTree* FormTree;
