#include "FolderTreePath.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
struct Node
{
    std::string text;
    Node* parent = nullptr;
    std::vector<std::unique_ptr<Node>> children;

    Node* Add(const std::string& sText)
    {
        children.push_back(std::make_unique<Node>());
        children.back()->text = sText;
        children.back()->parent = this;
        return children.back().get();
    }
};

// A plain tree; the invisible root holds the drive nodes.
class FakeTree : public IFolderTree
{
public:
    Node root;
    std::vector<std::string> expanded;
    std::vector<std::string> selected;

    FakeTree()
    {
        Node* c = root.Add("C:\\  SYSTEM");
        Node* windows = c->Add("Windows");
        windows->Add("System32")->Add("Drivers");
        windows->Add("Fonts");
        c->Add("Program Files")->Add("Quorvane");
        Node* d = root.Add("D:\\  ");
        d->Add("Images");
        // Drives are top-level nodes: they have no parent.
        for (auto& drive : root.children)
            drive->parent = nullptr;
    }

    FolderNode First() const { return root.children.front().get(); }
    Node* Find(const std::vector<int>& path) const
    {
        const Node* n = &root;
        for (int i : path)
            n = n->children[static_cast<size_t>(i)].get();
        return const_cast<Node*>(n);
    }

    FolderNode ParentOf(FolderNode node) const override { return N(node)->parent; }
    FolderNode FirstChild(FolderNode node) const override
    {
        return N(node)->children.empty() ? nullptr : N(node)->children.front().get();
    }
    FolderNode NextSibling(FolderNode node) const override
    {
        const Node* n = N(node);
        const Node* p = n->parent != nullptr ? n->parent : &root;
        for (size_t i = 0; i + 1 < p->children.size(); ++i)
            if (p->children[i].get() == n)
                return p->children[i + 1].get();
        return nullptr;
    }
    TxString NodeText(FolderNode node) const override { return N(node)->text.c_str(); }
    void ExpandNode(FolderNode node) override { expanded.push_back(N(node)->text); }
    void SelectNode(FolderNode node) override { selected.push_back(N(node)->text); }

private:
    static const Node* N(FolderNode node) { return static_cast<const Node*>(node); }
};
} // namespace

TEST(FolderTreePathTest, NodePaths)
{
    FakeTree tree;
    EXPECT_STREQ(NodePath(tree, nullptr).GetText(), "");
    EXPECT_STREQ(NodePath(tree, tree.Find({0})).GetText(), "C:");
    EXPECT_STREQ(NodePath(tree, tree.Find({1})).GetText(), "D:");
    EXPECT_STREQ(NodePath(tree, tree.Find({0, 0, 0, 0})).GetText(),
                 "C:\\Windows\\System32\\Drivers");
    EXPECT_STREQ(NodePath(tree, tree.Find({1, 0})).GetText(), "D:\\Images");
}

TEST(FolderTreePathTest, SplitAtTheFirstBackslash)
{
    struct Case
    {
        const char* pszPath;
        const char* pszHead;
        const char* pszRest;
    };
    const Case cases[] = {
        {"C:\\Windows\\System32", "C:", "Windows\\System32"},
        {"C:", "C:", ""},
        {"C:\\", "C:", ""},
        {"\\\\server", "", "\\server"},
        {"", "", ""},
    };
    for (const Case& c : cases)
    {
        TxString sHead, sRest;
        SplitPathHead(c.pszPath, sHead, sRest);
        EXPECT_STREQ(sHead.GetText(), c.pszHead) << c.pszPath;
        EXPECT_STREQ(sRest.GetText(), c.pszRest) << c.pszPath;
    }
}

TEST(FolderTreePathTest, SelectsAlongThePathIgnoringCase)
{
    FakeTree tree;
    SelectPath(tree, "c:\\WINDOWS\\system32", tree.First());
    EXPECT_EQ(tree.expanded, (std::vector<std::string>{"C:\\  SYSTEM", "Windows", "System32"}));
    EXPECT_EQ(tree.selected.back(), "System32");
}

TEST(FolderTreePathTest, SelectsAsMuchAsExists)
{
    struct Case
    {
        const char* pszPath;
        const char* pszSelected; // empty: nothing selected
        size_t nExpanded;
    };
    const Case cases[] = {
        {"C:\\Windows\\Hidden\\Deeper", "Windows", 2},
        {"D:\\Images\\", "Images", 2},
        {"D:", "D:\\  ", 1},
        {"E:\\Photos", "", 0},
        {"", "", 0},
        {"SYSTEM\\Windows", "", 0}, // the volume label is not part of the path
    };
    for (const Case& c : cases)
    {
        FakeTree tree;
        SelectPath(tree, c.pszPath, tree.First());
        EXPECT_EQ(tree.selected.empty() ? std::string() : tree.selected.back(), c.pszSelected)
            << c.pszPath;
        EXPECT_EQ(tree.expanded.size(), c.nExpanded) << c.pszPath;
    }
}

TEST(FolderTreePathTest, NodePathAndSelectPathAgree)
{
    FakeTree tree;
    Node* pFonts = tree.Find({0, 0, 1});
    SelectPath(tree, NodePath(tree, pFonts).GetText(), tree.First());
    EXPECT_EQ(tree.selected.back(), "Fonts");
}
