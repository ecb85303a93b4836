#include "LogCollector.h"
#include "TestSupport.h"
#include "TxException.h"
#include "TxFile.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
// Runs action and returns the ExNormal text it threw ("" if none).
template <class Action> std::string ThrownText(Action action)
{
    try
    {
        action();
    }
    catch (const ExNormal& e)
    {
        return e.what();
    }
    return "";
}
} // namespace

TEST(TxFile, MissingFileThrowsTheSystemText)
{
    TempFolder folder;
    std::string path = folder.Child("missing.bin");
    std::string expected = SystemErrorText(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(expected.empty());
    LogCollector log;
    ASSERT_TRUE(log.IsReady());
    EXPECT_EQ(ThrownText([&] { TxFile(path.c_str(), true, false); }), expected);
    EXPECT_EQ(log.Messages(),
              (std::vector<std::string>{"TxFile::TxFile: File " + path + " could not be open",
                                        "Throwing exception: " + expected}));
    // Not created by a writable open without create either.
    EXPECT_EQ(ThrownText([&] { TxFile(path.c_str(), false, false); }), expected);
    EXPECT_TRUE(folder.Entries().empty());
    EXPECT_FALSE(ThrownText([] { TxFile(nullptr, true, false); }).empty());
}

TEST(TxFile, CreateTruncatesAndOpenKeeps)
{
    TempFolder folder;
    std::string path = folder.AddFile("f.bin", "0123456789");
    {
        TxFile file(path.c_str(), false, false);
        EXPECT_EQ(file.GetSize(), 10u);
        EXPECT_EQ(file.GetPosition(), 0u);
    }
    {
        TxFile file(path.c_str(), true, true); // read-only ignores create
        EXPECT_EQ(file.GetSize(), 10u);
    }
    TxFile file(path.c_str(), false, true);
    EXPECT_EQ(file.GetSize(), 0u);
    EXPECT_EQ(ReadWholeFile(path), "");
}

TEST(TxFile, WriteAndSeekBookkeeping)
{
    TempFolder folder;
    std::string path = folder.Child("f.bin");
    {
        TxFile file(path.c_str(), false, true);
        file.Write("0123456789", 10);
        EXPECT_EQ(file.GetSize(), 10u);
        EXPECT_EQ(file.GetPosition(), 10u);
        file.Seek(4);
        file.Write("ab", 2);
        EXPECT_EQ(file.GetSize(), 10u);
        EXPECT_EQ(file.GetPosition(), 6u);
        file.Seek(8);
        file.Write("XYZ", 3);
        EXPECT_EQ(file.GetSize(), 11u);
        file.Write("", 0);
        EXPECT_EQ(file.GetPosition(), 11u);
    }
    EXPECT_EQ(ReadWholeFile(path), "0123ab67XYZ");
}

TEST(TxFile, ReadStopsAtTheEndWithoutError)
{
    TempFolder folder;
    TxFile file(folder.AddFile("f.bin", std::string(40, 'r')).c_str(), true, false);
    char buffer[100];
    DWORD dwRead = 12345;
    file.Read(buffer, 100, &dwRead);
    EXPECT_EQ(dwRead, 40u);
    EXPECT_EQ(file.GetPosition(), 40u);
    file.Read(buffer, 100, &dwRead);
    EXPECT_EQ(dwRead, 0u);
    EXPECT_EQ(file.GetPosition(), 40u);
    file.Seek(30);
    file.Read(buffer, 100, nullptr);
    EXPECT_EQ(file.GetPosition(), 40u);
}

TEST(TxFile, WriteToReadOnlyFileIsLoggedAndIgnored)
{
    TempFolder folder;
    std::string path = folder.AddFile("f.bin", "abc");
    LogCollector log;
    TxFile file(path.c_str(), true, false);
    file.Write("xyz!", 4);
    EXPECT_EQ(log.Messages(), std::vector<std::string>{
                                  "TxFile::Write: Attempt to write to read-only file " + path});
    EXPECT_EQ(file.GetSize(), 3u);
    EXPECT_EQ(file.GetPosition(), 0u);
    EXPECT_EQ(ReadWholeFile(path), "abc");
}

TEST(TxFile, BoundsCheckRefusesReadsAndSeeksPastTheEnd)
{
    TempFolder folder;
    std::string path = folder.AddFile("f.bin", "0123456789abc");
    LogCollector log;
    TxFile file(path.c_str(), true, false);
    file.SetCheckBounds(true);
    EXPECT_EQ(ThrownText([&] { file.Read(nullptr, 100, nullptr); }),
              "Error reading file " + path + ".");
    EXPECT_EQ(ThrownText([&] { file.Seek(14); }), "Error seeking in file " + path + ".");
    EXPECT_EQ(log.Messages(),
              (std::vector<std::string>{"TxFile::Read: reading behind the end of file: " + path +
                                            ". dwCount=100, m_dwCurrentSize=13, m_dwCurrentPos=0",
                                        "TxFile::Seek: seeking behind the end of file: " + path +
                                            ". dwPos=14, m_dwCurrentSize=13"}));
    // Up to the end exactly is allowed, and a refused call moved nothing.
    EXPECT_EQ(file.GetPosition(), 0u);
    char buffer[13];
    DWORD dwRead = 0;
    file.Read(buffer, 13, &dwRead);
    EXPECT_EQ(dwRead, 13u);
    file.Seek(13);
    EXPECT_EQ(file.GetPosition(), 13u);
}

TEST(TxFile, SeekBeyond2GiB)
{
    TempFolder folder;
    TxFile file(folder.AddFile("f.bin", "abc").c_str(), true, false);
    file.Seek(0xC0000000u); // past the end is allowed without the bounds check
    EXPECT_EQ(file.GetPosition(), 0xC0000000u);
    DWORD dwRead = 1;
    char ch;
    file.Read(&ch, 1, &dwRead);
    EXPECT_EQ(dwRead, 0u);

    // The failure result is logged even where no error code comes with it.
    LogCollector log;
    file.Seek(0xFFFFFFFFu);
    EXPECT_EQ(file.GetPosition(), 0xFFFFFFFFu);
    EXPECT_EQ(log.Messages(),
              std::vector<std::string>{"TxFile::Seek: SetFilePointer() failed by " +
                                       folder.Child("f.bin") + " dwPos=-1, m_dwCurrentSize=3"});
}
