#include "TestSupport.h"
#include "TxFindFile.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

namespace
{
bool SameTime(const FILETIME& a, const FILETIME& b)
{
    return CompareFileTime(&a, &b) == 0;
}

WIN32_FILE_ATTRIBUTE_DATA Attributes(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    EXPECT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) << path;
    return data;
}
} // namespace

TEST(TxFindFile, EnumeratesAFolder)
{
    TempFolder folder;
    folder.AddFile("a.txt", "12345");
    ASSERT_TRUE(CreateDirectoryA(folder.Child("sub").c_str(), nullptr));
    ASSERT_TRUE(SetFileAttributesA(folder.Child("sub").c_str(), FILE_ATTRIBUTE_HIDDEN));

    TxFindFile find;
    std::map<std::string, TxFileInfo> found;
    for (bool b = find.FindFirst(folder.Path().c_str(), "*"); b; b = find.FindNext())
    {
        TxFileInfo info;
        find.GetInfo(info);
        EXPECT_EQ(find.IsDirectory(), info.IsDirectory());
        found[info.m_sName.GetText()] = info;
    }
    EXPECT_EQ(find.GetDirectory().GetText(), folder.Path() + "\\");
    ASSERT_EQ(found.count("a.txt"), 1u);
    ASSERT_EQ(found.count("sub"), 1u);
    const TxFileInfo& file = found["a.txt"];
    EXPECT_EQ(file.m_qwSize, 5u);
    EXPECT_FALSE(file.IsDirectory() || file.IsHidden() || file.IsDots());
    EXPECT_TRUE(
        SameTime(file.m_ftLastWriteTime, Attributes(folder.Child("a.txt")).ftLastWriteTime));
    const TxFileInfo& sub = found["sub"];
    EXPECT_TRUE(sub.IsDirectory() && sub.IsHidden());
    EXPECT_FALSE(sub.IsDots());
    for (const char* pszDots : {".", ".."})
        EXPECT_TRUE(found.count(pszDots) == 0 || found[pszDots].IsDots()) << pszDots;
}

TEST(TxFindFile, DirectoryGetsOneBackslash)
{
    struct Case
    {
        const char* pszDirectory;
        const char* pszStored;
    } cases[] = {
        {"D:", "D:\\"}, {"D:\\", "D:\\"}, {"D:\\x/", "D:\\x/\\"}, {"", "\\"}, {nullptr, "\\"},
    };
    for (const Case& c : cases)
    {
        TxFindFile find;
        find.FindFirst(c.pszDirectory, "*");
        EXPECT_STREQ(find.GetDirectory().GetText(), c.pszStored);
    }
}

TEST(TxFindFile, NothingFound)
{
    TempFolder folder;
    TxFindFile find;
    EXPECT_FALSE(find.FindNext()); // no search started
    EXPECT_FALSE(find.FindFirst(folder.Path().c_str(), "*.none"));
    EXPECT_FALSE(find.FindNext());
    EXPECT_FALSE(find.FindFirst(folder.Child("missing").c_str(), "*"));
    EXPECT_FALSE(find.FindFirst(folder.Path().c_str(), nullptr));
    folder.AddFile("x.dat", "");
    EXPECT_TRUE(find.FindFirst(folder.Path().c_str(), "*.dat")); // a second search
    EXPECT_FALSE(find.FindNext());
}

TEST(TxFileInfo, DotsAreDirectoriesOnly)
{
    struct Case
    {
        DWORD dwAttributes;
        const char* pszName;
        bool bDots;
    } cases[] = {
        {FILE_ATTRIBUTE_DIRECTORY, ".", true},    {FILE_ATTRIBUTE_DIRECTORY, "..", true},
        {FILE_ATTRIBUTE_DIRECTORY, "...", false}, {FILE_ATTRIBUTE_DIRECTORY, ".x", false},
        {FILE_ATTRIBUTE_NORMAL, ".", false},      {FILE_ATTRIBUTE_DIRECTORY, "", false},
    };
    for (const Case& c : cases)
    {
        TxFileInfo info;
        info.m_dwAttributes = c.dwAttributes;
        info.m_sName = c.pszName;
        EXPECT_EQ(info.IsDots(), c.bDots) << c.pszName;
    }
    TxFileInfo empty;
    EXPECT_EQ(empty.m_qwSize, 0u);
    EXPECT_EQ(empty.m_dwAttributes, 0u);
}
