#include "TestSupport.h"
#include "TxSafeFile.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
// A work folder with a file, a folder and links out of it to a sentinel
// file and a folder elsewhere; run once with the newer calls and once with
// what stands in for them on older systems.
class TxSafeFileTest : public ::testing::TestWithParam<bool>
{
protected:
    void SetUp() override
    {
        TxSafeFileUseFallbacks(GetParam());
        m_Work.AddFile("plain.txt", "plain");
        ASSERT_TRUE(CreateDirectoryA((m_Work / "sub").c_str(), nullptr));
        m_sSentinel = m_Outside.AddFile("sentinel.txt", "sentinel");
        ASSERT_TRUE(CreateDirectoryA((m_Outside / "folder").c_str(), nullptr));
        ASSERT_TRUE(MakeSymbolicLink(m_Work / "filelink", m_sSentinel));
        ASSERT_TRUE(MakeSymbolicLink(m_Work / "folderlink", m_Outside / "folder"));
        // Wine lists no link whose target is missing: the target stands
        // while the link is made.
        m_Outside.AddFile("missing.txt", "");
        ASSERT_TRUE(MakeSymbolicLink(m_Work / "dangling", m_Outside / "missing.txt"));
        ASSERT_TRUE(DeleteFileA((m_Outside / "missing.txt").c_str()));
        ASSERT_TRUE(CreateHardLinkA((m_Work / "hard").c_str(), m_sSentinel.c_str(), nullptr));
    }
    void TearDown() override
    {
        EXPECT_EQ(ReadWholeFile(m_sSentinel), "sentinel");
        EXPECT_FALSE(PathExists(m_Outside / "missing.txt"));
        m_Outside.AddFile("missing.txt", "");
        for (const char* pszLink : {"filelink", "folderlink", "dangling"})
            EXPECT_TRUE(RemoveSymbolicLink(m_Work / pszLink));
        TxSafeFileUseFallbacks(false);
    }

    TempFolder m_Outside{"qv_outside_"};
    TempFolder m_Work{"qv_safe_"};
    std::string m_sSentinel;
};

TxFileHandle OpenFolder(const std::string& sPath)
{
    return TxOpenEntry(sPath.c_str(), TX_ENTRY_FOLDER, FILE_LIST_DIRECTORY | FILE_ADD_FILE,
                       TX_SHARE_NO_DELETE);
}
} // namespace

TEST_P(TxSafeFileTest, OpensOnlyTheEntryItsPathNames)
{
    struct Row
    {
        const char* pszName;
        TxEntryKind kind;
        DWORD dwError; // NO_ERROR: opened
    };
    const Row rows[] = {
        {"plain.txt", TX_ENTRY_FILE, NO_ERROR},
        {"plain.txt", TX_ENTRY_FOLDER, ERROR_DIRECTORY},
        {"sub", TX_ENTRY_FOLDER, NO_ERROR},
        {"sub", TX_ENTRY_FILE, ERROR_DIRECTORY},
        {"hard", TX_ENTRY_FILE, NO_ERROR},
        {"filelink", TX_ENTRY_FILE, TX_ERROR_LINK},
        {"folderlink", TX_ENTRY_FOLDER, TX_ERROR_LINK},
        {"missing", TX_ENTRY_FILE, ERROR_FILE_NOT_FOUND},
    };
    for (const Row& row : rows)
    {
        TxFileHandle h =
            TxOpenEntry((m_Work / row.pszName).c_str(), row.kind, GENERIC_READ, TX_SHARE_ALL);
        DWORD dwError = h.IsValid() ? NO_ERROR : GetLastError();
        EXPECT_EQ(dwError, row.dwError) << row.pszName;
    }
    TxFileHandle hPlain =
        TxOpenEntry((m_Work / "plain.txt").c_str(), TX_ENTRY_FILE, GENERIC_READ, TX_SHARE_ALL);
    TxFileHandle hHard =
        TxOpenEntry((m_Work / "hard").c_str(), TX_ENTRY_FILE, GENERIC_READ, TX_SHARE_ALL);
    EXPECT_FALSE(TxHasOtherNames(hPlain.Get()));
    EXPECT_TRUE(TxHasOtherNames(hHard.Get()));
}

TEST_P(TxSafeFileTest, CreatesNothingWhereAnyEntryStands)
{
    for (const char* pszName : {"plain.txt", "filelink", "dangling", "hard"})
    {
        TxFileHandle h =
            TxCreateNewFile((m_Work / pszName).c_str(), GENERIC_WRITE, 0, FILE_ATTRIBUTE_NORMAL);
        EXPECT_FALSE(h.IsValid()) << pszName;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS)) << pszName;
    }
    EXPECT_TRUE(TxCreateNewFile((m_Work / "new.txt").c_str(), GENERIC_WRITE, 0).IsValid());
    EXPECT_TRUE(PathExists(m_Work / "new.txt"));
}

TEST_P(TxSafeFileTest, MovesAndDeletesThroughHandles)
{
    TxFileHandle hWork = OpenFolder(m_Work.Path());
    TxFileHandle hSub = OpenFolder(m_Work / "sub");
    ASSERT_TRUE(hWork.IsValid() && hSub.IsValid());
    // Held without delete sharing: the folder cannot be renamed away.
    EXPECT_FALSE(MoveFileA((m_Work / "sub").c_str(), (m_Work / "sub2").c_str()));

    TxFileHandle hPlain =
        TxOpenEntry((m_Work / "plain.txt").c_str(), TX_ENTRY_FILE, TX_ACCESS_REMOVE, TX_SHARE_ALL);
    ASSERT_TRUE(TxMoveEntry(hPlain.Get(), hSub.Get(), "moved.txt")) << GetLastError();
    EXPECT_FALSE(PathExists(m_Work / "plain.txt"));
    EXPECT_TRUE(TxIsInsideFolder(hWork.Get(), hPlain.Get()));
    EXPECT_TRUE(TxIsInsideFolder(hSub.Get(), hPlain.Get()));
    EXPECT_FALSE(TxIsInsideFolder(hSub.Get(), hWork.Get()));
    TxEntryId idWork = {}, idAgain = {}, idPlain = {};
    TxFileHandle hWorkAgain = OpenFolder(m_Work.Path());
    ASSERT_TRUE(TxGetEntryId(hWork.Get(), idWork) && TxGetEntryId(hWorkAgain.Get(), idAgain) &&
                TxGetEntryId(hPlain.Get(), idPlain));
    EXPECT_TRUE(idWork == idAgain);
    EXPECT_FALSE(idWork == idPlain);
    hPlain.Reset();
    EXPECT_EQ(ReadWholeFile(m_Work / "sub\\moved.txt"), "plain");

    // Never onto an entry of the name, never out of the folder by the name.
    std::string sSecond = m_Work.AddFile("second.txt", "second");
    TxFileHandle hSecond =
        TxOpenEntry(sSecond.c_str(), TX_ENTRY_FILE, TX_ACCESS_REMOVE, TX_SHARE_ALL);
    EXPECT_FALSE(TxMoveEntry(hSecond.Get(), hSub.Get(), "moved.txt"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_FALSE(TxMoveEntry(hSecond.Get(), hSub.Get(), "..\\up.txt"));
    EXPECT_TRUE(PathExists(sSecond));

    // A read-only file goes; a folder that is not empty stays.
    ASSERT_TRUE(SetFileAttributesA(sSecond.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(TxDeleteEntry(hSecond.Get())) << GetLastError();
    hSecond.Reset();
    EXPECT_FALSE(PathExists(sSecond));
    TxFileHandle hSubRemove =
        TxOpenEntry((m_Work / "sub").c_str(), TX_ENTRY_FOLDER, TX_ACCESS_REMOVE, TX_SHARE_ALL);
    EXPECT_FALSE(hSubRemove.IsValid()) << "opened for deletion while held without delete sharing";
    hSub.Reset();
    hSubRemove =
        TxOpenEntry((m_Work / "sub").c_str(), TX_ENTRY_FOLDER, TX_ACCESS_REMOVE, TX_SHARE_ALL);
    ASSERT_TRUE(hSubRemove.IsValid());
    EXPECT_FALSE(TxDeleteEntry(hSubRemove.Get()));
    hSubRemove.Reset();
    EXPECT_TRUE(PathExists(m_Work / "sub\\moved.txt"));
}

INSTANTIATE_TEST_SUITE_P(Routes, TxSafeFileTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info)
                         { return info.param ? "OlderSystems" : "Newer"; });
