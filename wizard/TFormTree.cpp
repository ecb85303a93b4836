#include "TFormTree.h"

#include "FolderListing.h"
#include "FolderNames.h"
#include "StringTables.h"
#include "TFormNewFolder.h"
#include "TxMessageBox.h"

TFormTree* FormTree = nullptr;

namespace
{
// The window's size at start, its least size, at 96 DPI.
constexpr int TREE_WIDTH = 300;
constexpr int TREE_HEIGHT = 390;
// The panel at the foot that holds the buttons and the progress bar; the
// controls are placed from the right and bottom edges (TxDesignRect).
constexpr int PANEL_HEIGHT = 41;
constexpr int BUTTON_TOP = -(PANEL_HEIGHT - 6);
constexpr int BUTTON_WIDTH = 75;
constexpr int CANCEL_LEFT = -(8 + BUTTON_WIDTH);
constexpr int OK_LEFT = CANCEL_LEFT - 6 - BUTTON_WIDTH;

HTREEITEM Item(FolderNode node)
{
    return static_cast<HTREEITEM>(const_cast<void*>(node));
}

// The drive root of a top-level node: its letter, colon and a backslash.
TxString DriveRoot(const TxString& sNodeText)
{
    TxString sRoot;
    sNodeText.SubString(1, 2, sRoot);
    sRoot.Append("\\");
    return sRoot;
}
} // namespace

TFormTree::TFormTree(DWORD dwProgressDelayMs)
    : TxForm("TFormTree", TxBorder::Sizeable, 100, 100), TreeView(*this, 0, 0, 0, -PANEL_HEIGHT),
      ButtonNewFolder(*this, 8, BUTTON_TOP, 95, 25, "New folder"),
      ButtonOk(*this, OK_LEFT, BUTTON_TOP, BUTTON_WIDTH, 25, "OK", true),
      ButtonCancel(*this, CANCEL_LEFT, BUTTON_TOP, BUTTON_WIDTH, 25, "Cancel"),
      ProgressBar(*this, 0, -8, 0, 7), m_dwProgressDelay(dwProgressDelayMs)
{
    SetCaption("Folders");
    SetBounds(0, 0, TREE_WIDTH, TREE_HEIGHT);
    SetMinTrackSize(TREE_WIDTH, TREE_HEIGHT);
    SetCentred(true);
    SetDefaultButton(&ButtonOk);
    SetCancelButton(&ButtonCancel);
    SetActiveControl(&TreeView);
    TreeView.SetIndent(19);
    ProgressBar.Hide();
    TreeView.OnExpanded = [this](HTREEITEM hNode) { TreeViewExpanded(hNode); };
    TreeView.OnCollapsed = [this](HTREEITEM hNode) { TreeViewCollapsed(hNode); };
    ButtonOk.OnClick = [this] { ButtonOkClick(); };
    ButtonCancel.OnClick = [this] { SetModalResult(MR_CANCEL); };
    ButtonNewFolder.OnClick = [this] { ButtonNewFolderClick(); };
}

void TFormTree::SetTexts()
{
    SetCaption(gls_Folders.GetText());
    ButtonOk.SetText(gls_ButtonOk.GetText());
    ButtonCancel.SetText(gls_ButtonCancel.GetText());
    ButtonNewFolder.SetText(gls_NewFolder.GetText());
}

bool TFormTree::Choose(TxString& sFolder)
{
    m_sFolder = sFolder;
    if (ShowModal() != MR_OK)
        return false;
    sFolder = m_sFolder;
    return true;
}

TxString TFormTree::Browse(const TxString& sPath, const char* pszProductFolder)
{
    TxString sFolder(sPath);
    bool bCut = CutProductFolder(sFolder, pszProductFolder);
    Choose(sFolder);
    if (bCut)
        RestoreProductFolder(sFolder, pszProductFolder);
    return sFolder;
}

void TFormTree::FormShown()
{
    FillDrives();
    SelectPath(m_sFolder.GetText(), TreeView.FirstRoot());
}

void TFormTree::ButtonOkClick()
{
    m_sFolder = NodePath(TreeView.Selected());
    SetModalResult(MR_OK);
}

void TFormTree::FillDrives()
{
    TreeView.Clear();
    // Empty removable drives must not bring up the system's box, neither
    // for their labels nor for their folders.
    CSilentCriticalErrors silent;
    for (const TxString& sDrive : ListDrives(GetLogicalDrives()))
        TreeView.Add(nullptr, sDrive.GetText());
    for (HTREEITEM hNode = TreeView.FirstRoot(); hNode != nullptr;
         hNode = TreeView.NextSibling(hNode))
        FillSubfolders(DriveRoot(TreeView.ItemText(hNode)).GetText(), hNode);
}

void TFormTree::FillSubfolders(const char* pszPath, HTREEITEM hNode)
{
    TreeView.DeleteChildren(hNode);
    for (const TxString& sName : ListSubfolders(pszPath))
        TreeView.Add(hNode, sName.GetText());
    TreeView.SortChildren(hNode);
}

TxString TFormTree::NodePath(HTREEITEM hNode) const
{
    return ::NodePath(*this, hNode);
}

void TFormTree::SelectPath(const char* pszPath, HTREEITEM hNode)
{
    ::SelectPath(*this, pszPath, hNode);
}

void TFormTree::TreeViewExpanded(HTREEITEM hNode)
{
    DWORD dwStart = GetTickCount();
    TxString sPath = NodePath(hNode);
    int iCount = TreeView.ChildCount(hNode);
    int iDone = 0;
    for (HTREEITEM hChild = TreeView.FirstChild(hNode); hChild != nullptr;
         hChild = TreeView.NextSibling(hChild))
    {
        TxString sChildPath(sPath);
        sChildPath.Append("\\");
        sChildPath.Append(TreeView.ItemText(hChild));
        FillSubfolders(sChildPath.GetText(), hChild);
        ++iDone;
        if (GetTickCount() - dwStart > m_dwProgressDelay)
        {
            ProgressBar.SetPosition(iDone * 100 / iCount);
            ProgressBar.Show();
            UpdateWindow(ProgressBar.Handle());
        }
    }
    ProgressBar.Hide();
}

void TFormTree::TreeViewCollapsed(HTREEITEM hNode)
{
    FillSubfolders(NodePath(hNode).GetText(), hNode);
}

void TFormTree::ButtonNewFolderClick()
{
    HTREEITEM hSelected = TreeView.Selected();
    if (hSelected == nullptr)
        return;
    RECT rc;
    if (TreeView.TextRectOnScreen(hSelected, rc))
        FormNewFolder->SetPositionPx(rc.left, rc.bottom);
    TxString sCaption(gls_CreateFolder);
    sCaption.Append(TreeView.ItemText(hSelected));
    sCaption.Append("\"");
    FormNewFolder->SetCaption(sCaption.GetText());
    if (FormNewFolder->ShowModal() != MR_OK)
        return;
    TxString sPath;
    if (!CreateChildFolder(NodePath(hSelected).GetText(),
                           FormNewFolder->EditNewFolder.GetText().GetText(), sPath))
    {
        TxMessageBox(gls_FolderCannotBeCreated.GetText(), gls_Error.GetText(),
                     MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    FillSubfolders(NodePath(hSelected).GetText(), hSelected);
    SelectPath(sPath.GetText(), TreeView.FirstRoot());
}

FolderNode TFormTree::ParentOf(FolderNode node) const
{
    return TreeView.ParentOf(Item(node));
}

FolderNode TFormTree::FirstChild(FolderNode node) const
{
    return TreeView.FirstChild(Item(node));
}

FolderNode TFormTree::NextSibling(FolderNode node) const
{
    return TreeView.NextSibling(Item(node));
}

TxString TFormTree::NodeText(FolderNode node) const
{
    return TreeView.ItemText(Item(node));
}

void TFormTree::ExpandNode(FolderNode node)
{
    TreeView.Expand(Item(node));
}

void TFormTree::SelectNode(FolderNode node)
{
    TreeView.Select(Item(node));
}
