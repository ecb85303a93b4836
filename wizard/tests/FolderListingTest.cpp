// What the folder chooser lists and creates, without a window: drives,
// shown folder names and new folders in a folder of the test's own.
#include "FolderListing.h"
#include "TestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
std::vector<std::string> Texts(const std::vector<TxString>& list)
{
    std::vector<std::string> texts;
    for (const TxString& s : list)
        texts.push_back(s.GetText());
    return texts;
}

// The process's error mode, left as it was.
UINT ErrorMode()
{
    UINT uMode = SetErrorMode(0);
    SetErrorMode(uMode);
    return uMode;
}

// A drive letter the machine does not have, so that its label cannot be read.
char MissingDrive()
{
    DWORD dwDrives = GetLogicalDrives();
    for (char ch = 'Y'; ch > 'C'; --ch)
        if ((dwDrives & (1u << (ch - 'A'))) == 0)
            return ch;
    return 0;
}
} // namespace

TEST(FolderListingTest, DrivesFromCToZWithTheirLabelsAndCriticalErrorsSilent)
{
    char chMissing = MissingDrive();
    ASSERT_NE(chMissing, 0);
    DWORD dwDrives = 1u | 2u | 4u | (1u << (chMissing - 'A'));
    UINT uBefore = ErrorMode();
    std::vector<std::string> drives;
    {
        CSilentCriticalErrors silent;
        EXPECT_NE(ErrorMode() & SEM_FAILCRITICALERRORS, 0u);
        drives = Texts(ListDrives(dwDrives));
    }
    EXPECT_EQ(ErrorMode(), uBefore);
    ASSERT_EQ(drives.size(), 2u) << "A: and B: are never listed";
    EXPECT_EQ(drives[0].substr(0, 5), "C:\\  ");
    EXPECT_EQ(drives[1], std::string(1, chMissing) + ":\\  ") << "no label";
    EXPECT_TRUE(ListDrives(0).empty());
}

TEST(FolderListingTest, VisibleFoldersWithTheirShownNames)
{
    TempFolder root("qv_listing_");
    for (const char* pszFolder : {"ALPHA", "beta", "beta\\Sub", "Gamma", "Secret"})
        ASSERT_TRUE(CreateDirectoryA(root.Child(pszFolder).c_str(), nullptr)) << pszFolder;
    SetFileAttributesA(root.Child("Secret").c_str(), FILE_ATTRIBUTE_HIDDEN);
    root.AddFile("file.txt", "x");

    for (const std::string& sPath : {root.Path(), root.Path() + "\\"})
    {
        std::vector<std::string> names = Texts(ListSubfolders(sPath.c_str()));
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "Gamma", "beta"})) << sPath;
    }
    EXPECT_TRUE(ListSubfolders(root.Child("nothing").c_str()).empty());
}

TEST(FolderListingTest, NewFolderBelowANodeAndAFailureLogged)
{
    TempFolder root("qv_listing_");
    LogCapture log;
    TxString sPath;
    ASSERT_TRUE(CreateChildFolder(root.Path().c_str(), "New", sPath));
    EXPECT_EQ(std::string(sPath.GetText()), root.Child("New"));
    EXPECT_TRUE(PathExists(root.Child("New")));
    ASSERT_TRUE(CreateChildFolder((root.Path() + "\\").c_str(), "Other", sPath));
    EXPECT_EQ(std::string(sPath.GetText()), root.Child("Other"));

    // A drive node's path has no backslash.
    std::string sName = "qv_listing_" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateChildFolder("C:", sName.c_str(), sPath));
    EXPECT_EQ(std::string(sPath.GetText()), "C:\\" + sName);
    RemoveDirectoryA(sPath.GetText());

    EXPECT_FALSE(CreateChildFolder(root.Path().c_str(), "New", sPath));
    std::string sLine = "CreateChildFolder - CreateDirectoryA failed: path=" + root.Child("New") +
                        ", error=" + std::to_string(ERROR_ALREADY_EXISTS);
    std::vector<std::string> lines = log.Messages();
    EXPECT_NE(std::find(lines.begin(), lines.end(), sLine), lines.end()) << sLine;
}
