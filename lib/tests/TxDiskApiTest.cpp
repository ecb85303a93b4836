#include "TestSupport.h"
#include "TxDiskApi.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
std::string Slashed(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}
} // namespace

TEST(TxDiskApi, GetFreeSpaceOfC)
{
    DiskSpace space = {};
    ASSERT_TRUE(GetFreeSpace("C:\\", &space));
    EXPECT_GT(space.TotalBytes, 0u);
    EXPECT_GT(space.TotalFreeBytes, 0u);
    EXPECT_LE(space.TotalFreeBytes, space.TotalBytes);
    EXPECT_LE(space.FreeBytesToCaller, space.TotalFreeBytes);
    EXPECT_FALSE(GetFreeSpace("C:\\", nullptr));
}

TEST(TxDiskApi, ExistenceTests)
{
    TempFolder folder;
    std::string file = folder.AddFile("f.txt", "x");
    struct Case
    {
        std::string path;
        bool bDirectory, bFile;
    } cases[] = {
        {folder.Path(), true, false},
        {folder.Path() + "\\", true, false},
        {Slashed(folder.Path()), true, false},
        {file, false, true},
        {Slashed(file), false, true},
        {folder.Child("missing"), false, false},
        {"", false, false},
        {"C:\\", true, false},
        {"C:", true, false},
        {"Q:\\", false, false},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(DirectoryExists(c.path.c_str()), c.bDirectory) << c.path;
        EXPECT_EQ(FileExists(c.path.c_str()), c.bFile) << c.path;
    }
    EXPECT_FALSE(DirectoryExists(nullptr));
    EXPECT_FALSE(FileExists(nullptr));
}

TEST(TxDiskApi, ForceDirectoriesAcceptsSlashes)
{
    TempFolder folder;
    EXPECT_TRUE(ForceDirectories(Slashed(folder.Child("a\\b\\c")).c_str()));
    EXPECT_TRUE(DirectoryExists(folder.Child("a\\b\\c").c_str()));
    EXPECT_TRUE(ForceDirectories(folder.Child("a\\b").c_str())); // exists already
    EXPECT_TRUE(ForceDirectories(folder.Child("a\\x").c_str()));
    // Trailing separators name the same folder, made once.
    for (const char* pszTail : {"\\", "/", "\\/\\"})
    {
        std::string path = folder.Child(std::string("t\\u") + pszTail);
        EXPECT_TRUE(ForceDirectories(path.c_str())) << path;
        EXPECT_TRUE(DirectoryExists(folder.Child("t\\u").c_str())) << path;
        RemoveDirectoryA(folder.Child("t\\u").c_str());
        RemoveDirectoryA(folder.Child("t").c_str());
    }
    folder.AddFile("file", "");
    EXPECT_FALSE(ForceDirectories(folder.Child("file\\sub").c_str()));
    EXPECT_FALSE(ForceDirectories(""));
    EXPECT_FALSE(ForceDirectories(nullptr));
}

TEST(TxDiskApi, ProbesClimbAndLeaveNothingBehind)
{
    TempFolder folder;
    std::string missing = Slashed(folder.Child("one\\two"));
    LogCapture log;
    EXPECT_TRUE(TestFolderCreation(missing.c_str()));
    EXPECT_TRUE(TestFileCreation(missing.c_str()));
    EXPECT_TRUE(folder.Entries().empty());
    EXPECT_EQ(log.Messages(),
              (std::vector<std::string>{"Tested dir creation: " + folder.Child("t_e_s_t") + " : OK",
                                        "Tested file creation: " + folder.Child("t_e_s_t.txt") +
                                            " : OK"}));
}

// An entry under a probe's name, a link among them, is never opened,
// written or removed: the probe takes a name of its own.
TEST(TxDiskApi, ProbesTakeANameOfTheirOwnWhereTheirNameIsTaken)
{
    TempFolder outside("qv_outside_");
    std::string sSentinel = outside.AddFile("sentinel.txt", "sentinel");
    TempFolder folder;
    ASSERT_TRUE(MakeSymbolicLink(folder.Child("t_e_s_t"), sSentinel));
    // A link to a file that is not there (made while it stands).
    outside.AddFile("made.txt", "");
    ASSERT_TRUE(MakeSymbolicLink(folder.Child("t_e_s_t.txt"), outside.Child("made.txt")));
    ASSERT_TRUE(DeleteFileA(outside.Child("made.txt").c_str()));
    LogCapture log;
    EXPECT_TRUE(TestFolderCreation(folder.Path().c_str()));
    EXPECT_TRUE(TestFileCreation((folder.Path() + "\\").c_str()));
    std::vector<std::string> lines = log.Messages();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Cannot test folder creation - already exists: " + folder.Child("t_e_s_t"));
    EXPECT_EQ(lines[1].rfind("Tested dir creation: " + folder.Child("t_e_s_t."), 0), 0u)
        << lines[1];
    EXPECT_EQ(lines[1].substr(lines[1].size() - 5), " : OK");
    EXPECT_EQ(lines[2],
              "Cannot test file creation - already exists: " + folder.Child("t_e_s_t.txt"));
    EXPECT_EQ(lines[3].rfind("Tested file creation: " + folder.Child("t_e_s_t."), 0), 0u)
        << lines[3];
    EXPECT_EQ(lines[3].substr(lines[3].size() - 9), ".txt : OK");
    // The planted names only (Wine lists no link whose target is missing).
    for (const std::string& sEntry : folder.Entries())
        EXPECT_TRUE(sEntry == "t_e_s_t" || sEntry == "t_e_s_t.txt") << sEntry;
    EXPECT_EQ(ReadWholeFile(sSentinel), "sentinel");
    EXPECT_FALSE(PathExists(outside.Child("made.txt")));
    outside.AddFile("made.txt", "");
    EXPECT_TRUE(RemoveSymbolicLink(folder.Child("t_e_s_t")));
    EXPECT_TRUE(RemoveSymbolicLink(folder.Child("t_e_s_t.txt")));
}

TEST(TxDiskApi, ProbesFailWhereNothingCanBeCreated)
{
    // Z: is Wine's view of the Unix root; nobody may create entries in /proc.
    const char* pszLocked = "Z:\\proc\\sys\\kernel";
    if (!DirectoryExists(pszLocked))
        GTEST_SKIP() << "no " << pszLocked << " here";
    LogCapture log;
    EXPECT_FALSE(TestFolderCreation((std::string(pszLocked) + "\\missing\\deeper").c_str()));
    EXPECT_FALSE(TestFileCreation(Slashed(pszLocked).c_str()));
    EXPECT_EQ(log.Messages(),
              (std::vector<std::string>{
                  "Tested dir creation: " + std::string(pszLocked) + "\\t_e_s_t : failed!",
                  "Tested file creation: " + std::string(pszLocked) + "\\t_e_s_t.txt : failed!"}));
}

TEST(TxDiskApi, ProbesWithoutAnExistingAncestorFail)
{
    for (const char* pszPath : {"", "relative", "x:", static_cast<const char*>(nullptr)})
    {
        EXPECT_FALSE(TestFolderCreation(pszPath)) << (pszPath ? pszPath : "(null)");
        EXPECT_FALSE(TestFileCreation(pszPath)) << (pszPath ? pszPath : "(null)");
    }
}
