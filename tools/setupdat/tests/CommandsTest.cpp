#include "FileStamp.h"
#include "FileTime.h"
#include "ToolTestSupport.h"

#include <gtest/gtest.h>

TEST(Commands, AnswersWrongCommandLinesWithUsageExitCode)
{
    const std::vector<std::string> cases[] = {
        {},
        {"frobnicate"},
        {"pack", "-o"},
        {"pack", "folder"},
        {"pack", "-o", "a.dat"},
        {"pack", "-o", "a.dat", "-o", "b.dat", "folder"},
        {"list"},
        {"list", "a.dat", "b.dat"},
        {"extract", "a.dat"},
        {"verify", "--all", "a.dat"},
    };
    for (const std::vector<std::string>& args : cases)
    {
        ToolRun run = RunTool(args);
        EXPECT_EQ(run.iExit, SETUPDAT_EXIT_USAGE) << (args.empty() ? "" : args[0]);
        EXPECT_NE(run.sErr.find("--help"), std::string::npos);
    }
    ToolRun help = RunTool({"--help"});
    EXPECT_EQ(help.iExit, 0);
    EXPECT_NE(help.sOut.find("setupdat verify ARCHIVE [--plan]"), std::string::npos);
    EXPECT_EQ(RunTool({"list", "no-such-archive.dat"}).iExit, SETUPDAT_EXIT_FAILURE);
}

class ExtractTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteBytes(m_Dir.Path() / "src" / "Data.bin", std::string("\0payload\xFF", 9));
        FileStamp stamp;
        stamp.ftCreation = MakeFileTime(126256467060000000ull);
        stamp.ftLastAccess = MakeFileTime(126571827060000000ull);
        stamp.ftLastWrite = MakeFileTime(126256467070000000ull);
        std::string sError;
        ASSERT_TRUE(ApplyFileTimes(m_Dir.Path() / "src" / "Data.bin", stamp, sError)) << sError;
        ASSERT_TRUE(ReadFileStamp(m_Dir.Path() / "src" / "Data.bin", m_Packed, sError)) << sError;
        ASSERT_EQ(RunTool({"pack", "-o", m_Dir / "Setup.dat", m_Dir / "src"}).iExit, 0);
    }

    TempDir m_Dir;
    FileStamp m_Packed;
};

TEST_F(ExtractTest, WritesTheEntryWithItsTimesFoundByFileNamePart)
{
    ToolRun run =
        RunTool({"extract", m_Dir / "Setup.dat", "D:\\CD\\DATA.BIN", "-o", m_Dir / "out"});
    ASSERT_EQ(run.iExit, 0) << run.sErr;
    // Stamp first: reading the bytes may move the access time.
    FileStamp extracted;
    std::string sError;
    ASSERT_TRUE(ReadFileStamp(m_Dir.Path() / "out", extracted, sError)) << sError;
    EXPECT_EQ(ReadBytes(m_Dir.Path() / "out"), std::string("\0payload\xFF", 9));
    EXPECT_EQ(FileTimeValue(extracted.ftCreation), FileTimeValue(m_Packed.ftCreation));
    EXPECT_EQ(FileTimeValue(extracted.ftLastAccess), FileTimeValue(m_Packed.ftLastAccess));
    EXPECT_EQ(FileTimeValue(extracted.ftLastWrite), FileTimeValue(m_Packed.ftLastWrite));

    ToolRun list = RunTool({"list", m_Dir / "Setup.dat"});
    EXPECT_NE(list.sOut.find("FileCount 1\n"), std::string::npos) << list.sOut;
    EXPECT_NE(list.sOut.find("written 2001-02-03 04:05:07 UTC"), std::string::npos) << list.sOut;
}

TEST_F(ExtractTest, TruncatedEntryFailsAndLeavesAnExistingTargetAlone)
{
    std::string sArchive = ReadBytes(m_Dir.Path() / "Setup.dat");
    sArchive.pop_back();
    WriteBytes(m_Dir.Path() / "cut.dat", sArchive);
    WriteBytes(m_Dir.Path() / "out", "previous");
    ToolRun run = RunTool({"extract", m_Dir / "cut.dat", "Data.bin", "-o", m_Dir / "out"});
    EXPECT_EQ(run.iExit, SETUPDAT_EXIT_FAILURE);
    EXPECT_NE(run.sErr.find("past the end"), std::string::npos) << run.sErr;
    EXPECT_EQ(ReadBytes(m_Dir.Path() / "out"), "previous");

    EXPECT_EQ(RunTool({"extract", m_Dir / "Setup.dat", "Other.bin", "-o", m_Dir / "out"}).iExit,
              SETUPDAT_EXIT_FAILURE);
}
