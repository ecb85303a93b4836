// The folder chooser dialogs with real windows and a folder tree of their
// own under the temporary folder; needs a display.
#include "TFormNewFolder.h"
#include "TFormTree.h"
#include "TxHandles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
class FolderChooserTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char szTemp[MAX_PATH] = "";
        ASSERT_NE(GetTempPathA(sizeof(szTemp), szTemp), 0u);
        m_sRoot = std::string(szTemp) + "qv_chooser_" + std::to_string(GetCurrentProcessId());
        for (const char* pszFolder :
             {"", "\\ALPHA", "\\beta", "\\beta\\Sub", "\\Gamma", "\\Secret", "\\Secret\\Inner"})
            ASSERT_TRUE(CreateDirectoryA((m_sRoot + pszFolder).c_str(), nullptr)) << pszFolder;
        SetFileAttributesA((m_sRoot + "\\Secret").c_str(), FILE_ATTRIBUTE_HIDDEN);
        HANDLE hFile = CreateFileA((m_sRoot + "\\file.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                   CREATE_ALWAYS, 0, nullptr);
        CloseHandle(hFile);
    }

    void TearDown() override
    {
        DeleteFileA((m_sRoot + "\\file.txt").c_str());
        for (const char* pszFolder :
             {"\\Secret\\Inner", "\\Secret", "\\Gamma", "\\beta\\Sub", "\\beta", "\\ALPHA", ""})
            RemoveDirectoryA((m_sRoot + pszFolder).c_str());
    }

    static std::vector<std::string> Children(const TxTreeView& tree, HTREEITEM hNode)
    {
        std::vector<std::string> texts;
        for (HTREEITEM h = tree.FirstChild(hNode); h != nullptr; h = tree.NextSibling(h))
            texts.push_back(tree.ItemText(h).GetText());
        return texts;
    }

    static bool SamePath(const TxString& sPath, const std::string& expected)
    {
        return lstrcmpiA(sPath.GetText(), expected.c_str()) == 0;
    }

    std::string m_sRoot;
};
} // namespace

TEST_F(FolderChooserTest, ListsVisibleFoldersSortedWithTheirShownNames)
{
    TFormTree form;
    HTREEITEM hNode = form.TreeView.Add(nullptr, "X:\\  ");
    form.FillSubfolders(m_sRoot.c_str(), hNode);
    EXPECT_EQ(Children(form.TreeView, hNode), (std::vector<std::string>{"Alpha", "beta", "Gamma"}));
    // Filled again, the old children are gone.
    form.FillSubfolders((m_sRoot + "\\beta").c_str(), hNode);
    EXPECT_EQ(Children(form.TreeView, hNode), (std::vector<std::string>{"Sub"}));
}

TEST_F(FolderChooserTest, SelectsAPathAndNamesIt)
{
    TFormTree form;
    form.FillDrives();
    form.SelectPath((m_sRoot + "\\beta\\Sub").c_str(), form.TreeView.FirstRoot());
    EXPECT_TRUE(SamePath(form.NodePath(form.TreeView.Selected()), m_sRoot + "\\beta\\Sub"))
        << form.NodePath(form.TreeView.Selected()).GetText();
}

TEST_F(FolderChooserTest, HiddenFolderStopsTheSelectionAtTheVisiblePart)
{
    TFormTree form;
    form.FillDrives();
    form.SelectPath((m_sRoot + "\\Secret\\Inner").c_str(), form.TreeView.FirstRoot());
    EXPECT_TRUE(SamePath(form.NodePath(form.TreeView.Selected()), m_sRoot))
        << form.NodePath(form.TreeView.Selected()).GetText();
}

TEST_F(FolderChooserTest, OkReturnsTheSelectedFolderAndCancelKeepsTheStart)
{
    TFormTree form;
    TxString sFolder((m_sRoot + "\\ALPHA").c_str());
    PostMessageA(form.ButtonOk.Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(form.Choose(sFolder));
    EXPECT_TRUE(SamePath(sFolder, m_sRoot + "\\Alpha")) << sFolder.GetText();

    sFolder = "C:\\no\\such\\folder";
    PostMessageA(form.ButtonCancel.Handle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(form.Choose(sFolder));
    EXPECT_STREQ(sFolder.GetText(), "C:\\no\\such\\folder");
}

TEST_F(FolderChooserTest, BrowseOpensAtTheProductFoldersParentAndPutsItBack)
{
    TFormTree form;
    PostMessageA(form.ButtonOk.Handle(), BM_CLICK, 0, 0);
    TxString sChosen = form.Browse((m_sRoot + "\\ALPHA\\Quorvane").c_str(), "Quorvane");
    EXPECT_TRUE(SamePath(sChosen, m_sRoot + "\\Alpha\\Quorvane")) << sChosen.GetText();

    PostMessageA(form.ButtonCancel.Handle(), BM_CLICK, 0, 0);
    EXPECT_STREQ(form.Browse("C:\\no\\such\\quorvane\\x", "Quorvane").GetText(),
                 "C:\\no\\such\\Quorvane");
}

TEST_F(FolderChooserTest, DriveNodeYieldsTheDriveWithoutBackslash)
{
    TFormTree form;
    TxString sFolder("C:");
    PostMessageA(form.ButtonOk.Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(form.Choose(sFolder));
    EXPECT_STREQ(sFolder.GetText(), "C:");
}

namespace
{
// Watches, from a thread of its own, whether the chooser's progress bar is
// ever on screen while the chooser's thread lists.
struct ProgressWatch
{
    HWND hProgress;
    volatile LONG lStop;
    volatile LONG lSeen;
};

DWORD WINAPI WatchProgress(LPVOID pParam)
{
    auto* pWatch = static_cast<ProgressWatch*>(pParam);
    while (InterlockedCompareExchange(&pWatch->lStop, 0, 0) == 0)
    {
        if (IsWindowVisible(pWatch->hProgress))
            InterlockedExchange(&pWatch->lSeen, 1);
        Sleep(1);
    }
    return 0;
}
} // namespace

// The chooser is shown, then lists: a long expansion's progress is seen.
TEST_F(FolderChooserTest, LongListingShowsItsProgressOnScreen)
{
    const std::string sMany = m_sRoot + "\\Gamma";
    for (int i = 0; i < 2000; ++i)
        ASSERT_TRUE(CreateDirectoryA((sMany + "\\f" + std::to_string(i)).c_str(), nullptr));
    // Any expansion that takes time at all shows its progress.
    TFormTree form(0);
    ProgressWatch watch = {form.ProgressBar.Handle(), 0, 0};
    TxKernelHandle thread(CreateThread(nullptr, 0, WatchProgress, &watch, 0, nullptr));
    ASSERT_NE(thread.Get(), nullptr);
    TxString sFolder(sMany.c_str());
    PostMessageA(form.ButtonCancel.Handle(), BM_CLICK, 0, 0);
    form.Choose(sFolder);
    InterlockedExchange(&watch.lStop, 1);
    WaitForSingleObject(thread.Get(), INFINITE);
    for (int i = 0; i < 2000; ++i)
        RemoveDirectoryA((sMany + "\\f" + std::to_string(i)).c_str());
    EXPECT_EQ(watch.lSeen, 1);
    EXPECT_FALSE(IsWindowVisible(form.ProgressBar.Handle())) << "hidden after the listing";
}

TEST(NewFolderFormTest, OkOnlyForAValidName)
{
    TFormNewFolder form;
    EXPECT_FALSE(form.ButtonOk.IsEnabled());
    form.EditNewFolder.SetText("Images");
    EXPECT_TRUE(form.ButtonOk.IsEnabled());
    form.EditNewFolder.SetText("a:b");
    EXPECT_FALSE(form.ButtonOk.IsEnabled());
    form.EditNewFolder.SetText("");
    EXPECT_FALSE(form.ButtonOk.IsEnabled());
}
