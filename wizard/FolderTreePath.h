#pragma once

#include "TxString.h"

// The folder chooser's tree, as NodePath and SelectPath see it: nodes with
// texts, top-level nodes are drives whose text starts with the drive
// letter and its colon.
using FolderNode = const void*;

class IFolderTree
{
public:
    virtual ~IFolderTree() = default;
    // Null for a top-level node.
    virtual FolderNode ParentOf(FolderNode node) const = 0;
    virtual FolderNode FirstChild(FolderNode node) const = 0;
    virtual FolderNode NextSibling(FolderNode node) const = 0;
    virtual TxString NodeText(FolderNode node) const = 0;
    // Expands the node, which loads the level below its children.
    virtual void ExpandNode(FolderNode node) = 0;
    virtual void SelectNode(FolderNode node) = 0;
};

// The folder path of a node: "C:" for a drive node, "C:\Windows\System32"
// below it; empty for no node.
TxString NodePath(const IFolderTree& tree, FolderNode node);

// Splits a path at its first backslash; without one the head is the whole
// path and the rest is empty.
void SplitPathHead(const char* pszPath, TxString& sHead, TxString& sRest);

// Expands and selects the nodes along pszPath, starting among node and its
// following siblings; stops where the path leaves the tree, leaving the
// deepest node found selected.
void SelectPath(IFolderTree& tree, const char* pszPath, FolderNode node);
