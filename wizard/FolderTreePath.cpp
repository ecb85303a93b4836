#include "FolderTreePath.h"

#include <vector>

namespace
{
// A drive node's text counts by its letter and colon only.
TxString MatchText(const IFolderTree& tree, FolderNode node)
{
    TxString sText = tree.NodeText(node);
    if (tree.ParentOf(node) == nullptr && sText.Length() > 2)
        sText.SetLength(2);
    return sText;
}
} // namespace

TxString NodePath(const IFolderTree& tree, FolderNode node)
{
    if (node == nullptr)
        return TxString();
    std::vector<FolderNode> chain;
    for (FolderNode n = node; n != nullptr; n = tree.ParentOf(n))
        chain.push_back(n);
    TxString sPath = tree.NodeText(chain.back());
    if (sPath.Length() > 2)
        sPath.SetLength(2);
    for (auto it = chain.rbegin() + 1; it != chain.rend(); ++it)
    {
        sPath.Append("\\");
        sPath.Append(tree.NodeText(*it));
    }
    return sPath;
}

void SplitPathHead(const char* pszPath, TxString& sHead, TxString& sRest)
{
    TxString sPath(pszPath);
    int p = sPath.Find("\\", false, false, 1);
    if (p == 0)
    {
        sHead = sPath;
        sRest = "";
        return;
    }
    sPath.SubString(1, p - 1, sHead);
    sPath.SubString(p + 1, sPath.Length() - p, sRest);
}

void SelectPath(IFolderTree& tree, const char* pszPath, FolderNode node)
{
    TxString sPath(pszPath);
    while (node != nullptr)
    {
        TxString sHead, sRest;
        SplitPathHead(sPath.GetText(), sHead, sRest);
        FolderNode found = node;
        while (found != nullptr && MatchText(tree, found).Compare(sHead) != 0)
            found = tree.NextSibling(found);
        if (found == nullptr)
            return;
        tree.ExpandNode(found);
        tree.SelectNode(found);
        if (sRest.IsEmpty())
            return;
        sPath = sRest;
        node = tree.FirstChild(found);
    }
}
