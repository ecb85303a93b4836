#include "InstallLog.h"
#include "StandInTestSupport.h"

#include <gtest/gtest.h>

namespace
{
struct ExpectedRecord
{
    LogItemKind Kind;
    const char* pszText;
    int iBlock;
};

struct ParseCase
{
    const char* pszName;
    std::vector<const char*> lines;
    std::vector<ExpectedRecord> records;
    int iBlocks;
    int iSkipped;
};

const ParseCase PARSE_CASES[] = {
    {"Empty", {}, {}, 0, 0},
    {"EveryKindInOneBlock",
     {"S_FOLDER_ C:\\Prg", "S_PRGFILE C:\\Prg\\QvAgent.exe", "S_IMGFILE D:\\Pics\\a b.jpg",
      "S_AUTORUN QuorvaneAgent", "S_LNKFILE C:\\Start\\Quorvane Manager.lnk",
      "S_PRGFILE C:\\Prg\\Install.log", "S_UNINST_ Quorvane", "S_TIME___ 05.03.2004 09:07", ""},
     {{LogItemKind::Folder, "C:\\Prg", 0},
      {LogItemKind::ProgramFile, "C:\\Prg\\QvAgent.exe", 0},
      {LogItemKind::ImageFile, "D:\\Pics\\a b.jpg", 0},
      {LogItemKind::Autorun, "QuorvaneAgent", 0},
      {LogItemKind::Shortcut, "C:\\Start\\Quorvane Manager.lnk", 0},
      {LogItemKind::ProgramFile, "C:\\Prg\\Install.log", 0},
      {LogItemKind::UninstallEntry, "Quorvane", 0}},
     1,
     0},
    {"TwoBlocksAndAnUnfinishedThird",
     {"S_PRGFILE C:\\P\\a", "S_TIME___ 01.01.2004 10:00", "", "S_PRGFILE \\\\srv\\share\\b",
      "S_TIME___ 02.01.2004 10:00", "", "S_PRGFILE C:\\P\\c"},
     {{LogItemKind::ProgramFile, "C:\\P\\a", 0},
      {LogItemKind::ProgramFile, "\\\\srv\\share\\b", 1},
      {LogItemKind::ProgramFile, "C:\\P\\c", 2}},
     3,
     0},
    {"LinesThatAreNoRecords",
     {"S_PRG", "S_OTHER__ C:\\x", "s_prgfile C:\\x", "S_PRGFILE relative\\x", "S_PRGFILE C:x",
      "S_FOLDER_ ", "S_AUTORUN ", "S_UNINST_ ..\\Other", "S_LNKFILE C:\\ok.lnk"},
     {{LogItemKind::Shortcut, "C:\\ok.lnk", 0}},
     1,
     8},
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const ParseCase& c, std::ostream* pOut)
{
    *pOut << c.pszName;
}

class InstallLogParse : public ::testing::TestWithParam<ParseCase>
{
};

TEST_P(InstallLogParse, GivesRecordsInFileOrder)
{
    const ParseCase& c = GetParam();
    TxStringCollection lines;
    for (const char* pszLine : c.lines)
        lines.Add(pszLine);
    InstallLog log;
    log.Parse(lines);
    ASSERT_EQ(log.Records().size(), c.records.size());
    for (size_t i = 0; i < c.records.size(); ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(log.Records()[i].Kind, c.records[i].Kind);
        EXPECT_STREQ(log.Records()[i].sText.GetText(), c.records[i].pszText);
        EXPECT_EQ(log.Records()[i].iBlock, c.records[i].iBlock);
    }
    EXPECT_EQ(log.BlockCount(), c.iBlocks);
    EXPECT_EQ(log.SkippedLines(), c.iSkipped);
}

INSTANTIATE_TEST_SUITE_P(Cases, InstallLogParse, ::testing::ValuesIn(PARSE_CASES),
                         [](const ::testing::TestParamInfo<ParseCase>& info)
                         { return std::string(info.param.pszName); });

TEST(InstallLogLoad, ReadsTheFileAsTheSetupWritesIt)
{
    TempFolder folder;
    ASSERT_TRUE(WriteWholeFile(folder / "Install.log",
                               "S_PRGFILE C:\\P\\a.exe\r\nS_TIME___ 05.03.2004 09:07\r\n\r\n"
                               "S_PRGFILE C:\\P\\b.exe\r\nS_TIME___ 06.03.2004 09:07\r\n\r\n"));
    InstallLog log;
    ASSERT_EQ(log.Load((folder / "Install.log").c_str()), InstallLog::LoadResult::Loaded);
    ASSERT_EQ(log.Records().size(), 2u);
    EXPECT_STREQ(log.Records()[1].sText.GetText(), "C:\\P\\b.exe");
    EXPECT_EQ(log.BlockCount(), 2);
}

TEST(InstallLogLoad, TellsMissingFromUseless)
{
    TempFolder folder;
    ASSERT_TRUE(WriteWholeFile(folder / "times.log", "S_TIME___ 05.03.2004 09:07\r\n\r\n"));
    ASSERT_TRUE(WriteWholeFile(folder / "empty.log", ""));
    InstallLog log;
    EXPECT_EQ(log.Load((folder / "none.log").c_str()), InstallLog::LoadResult::Missing);
    EXPECT_EQ(log.Load(folder.Path().c_str()), InstallLog::LoadResult::Missing);
    EXPECT_EQ(log.Load((folder / "times.log").c_str()), InstallLog::LoadResult::Unreadable);
    EXPECT_EQ(log.Load((folder / "empty.log").c_str()), InstallLog::LoadResult::Unreadable);
}
} // namespace
