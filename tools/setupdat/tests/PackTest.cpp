#include "EntryName.h"
#include "FileStamp.h"
#include "FileTime.h"
#include "ToolTestSupport.h"

#include <cstring>
#include <gtest/gtest.h>

namespace
{
// Reading a file may move its access time; packing twice compares equal only
// from the same stamps.
void SetFixedTimes(const fs::path& folder)
{
    FileStamp stamp;
    stamp.ftCreation = MakeFileTime(126256467060000000ull);
    stamp.ftLastAccess = MakeFileTime(126256467070000000ull);
    stamp.ftLastWrite = stamp.ftCreation;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
    {
        std::string sError;
        if (entry.is_regular_file())
        {
            ASSERT_TRUE(ApplyFileTimes(entry.path(), stamp, sError)) << sError;
        }
    }
}

bool AllZero(const void* p, std::size_t cb)
{
    const unsigned char* pb = static_cast<const unsigned char*>(p);
    for (std::size_t i = 0; i < cb; ++i)
    {
        if (pb[i] != 0)
            return false;
    }
    return true;
}
} // namespace

TEST(Pack, WritesSortedEntriesWithContiguousDataAndZeroReservedFields)
{
    TempDir dir;
    WriteBytes(dir.Path() / "src" / "b.txt", "bee");
    WriteBytes(dir.Path() / "src" / "Sub" / "A.txt", "a");
    WriteBytes(dir.Path() / "src" / "Sub" / "Deeper" / "c.TXT", "");
    WriteBytes(dir.Path() / "extra" / "D.bin", std::string("\0\1\2\0", 4));
    ToolRun run = RunTool({"pack", "-o", dir / "Setup.dat", dir / "src", dir / "extra/D.bin"});
    ASSERT_EQ(run.iExit, 0) << run.sErr;

    std::string sArchive = ReadBytes(dir.Path() / "Setup.dat");
    ASSERT_GE(sArchive.size(), SetupDatTableEnd(4));
    SetupDatFileHeader header;
    std::memcpy(&header, sArchive.data(), sizeof(header));
    EXPECT_EQ(std::string(header.Signature, sizeof(header.Signature)),
              std::string(SETUPDAT_SIGNATURE) + std::string(36 - 19, '\0'));
    EXPECT_EQ(header.FileCount, 4u);
    EXPECT_TRUE(AllZero(header.Reserved, sizeof(header.Reserved)));

    const std::pair<const char*, fs::path> expected[] = {
        {"A.txt", dir.Path() / "src" / "Sub" / "A.txt"},
        {"b.txt", dir.Path() / "src" / "b.txt"},
        {"c.TXT", dir.Path() / "src" / "Sub" / "Deeper" / "c.TXT"},
        {"D.bin", dir.Path() / "extra" / "D.bin"},
    };
    std::uint32_t dwOffset = static_cast<std::uint32_t>(SetupDatTableEnd(4));
    for (std::size_t i = 0; i < 4; ++i)
    {
        SCOPED_TRACE(expected[i].first);
        PackageFile entry;
        std::memcpy(&entry, sArchive.data() + SetupDatTableEnd(static_cast<std::uint32_t>(i)),
                    sizeof(entry));
        EXPECT_EQ(EntryName(entry), expected[i].first);
        std::size_t cbName = std::strlen(expected[i].first);
        EXPECT_TRUE(AllZero(entry.Name + cbName, sizeof(entry.Name) - cbName));
        EXPECT_EQ(entry.Reserved0, 0u);
        EXPECT_TRUE(AllZero(entry.Reserved, sizeof(entry.Reserved)));
        EXPECT_EQ(entry.DataOffset, dwOffset);
        EXPECT_EQ(sArchive.substr(entry.DataOffset, entry.SizeLow), ReadBytes(expected[i].second));
        EXPECT_EQ(entry.SizeHigh, 0u);

        FileStamp stamp;
        std::string sError;
        ASSERT_TRUE(ReadFileStamp(expected[i].second, stamp, sError)) << sError;
        EXPECT_EQ(entry.Attributes, stamp.dwAttributes);
        EXPECT_EQ(FileTimeValue(entry.CreationTime), FileTimeValue(stamp.ftCreation));
        EXPECT_EQ(FileTimeValue(entry.LastWriteTime), FileTimeValue(stamp.ftLastWrite));
        dwOffset += entry.SizeLow;
    }
    EXPECT_EQ(sArchive.size(), dwOffset);
}

TEST(Pack, OutputDependsNeitherOnArgumentOrderNorOnAnEarlierArchiveInTheFolder)
{
    TempDir dir;
    WriteBytes(dir.Path() / "src" / "one.dat", "1");
    WriteBytes(dir.Path() / "src" / "Two.dat", "22");
    WriteBytes(dir.Path() / "three.dat", "333");
    SetFixedTimes(dir.Path());
    ASSERT_EQ(RunTool({"pack", "-o", dir / "first.dat", dir / "src", dir / "three.dat"}).iExit, 0);
    SetFixedTimes(dir.Path());
    ASSERT_EQ(RunTool({"pack", "-o", dir / "second.dat", dir / "three.dat", dir / "src"}).iExit, 0);
    EXPECT_EQ(ReadBytes(dir.Path() / "first.dat"), ReadBytes(dir.Path() / "second.dat"));

    // Packing a folder into itself, twice: the archive never takes itself in.
    SetFixedTimes(dir.Path());
    ASSERT_EQ(RunTool({"pack", "-o", dir / "src/Setup.dat", dir / "src"}).iExit, 0);
    std::string sFirst = ReadBytes(dir.Path() / "src" / "Setup.dat");
    SetFixedTimes(dir.Path());
    ASSERT_EQ(RunTool({"pack", "-o", dir / "src/Setup.dat", dir / "src"}).iExit, 0);
    EXPECT_EQ(ReadBytes(dir.Path() / "src" / "Setup.dat"), sFirst);
    EXPECT_EQ(sFirst[36], 2); // FileCount: one.dat and Two.dat
}

TEST(Pack, RefusesInputTheSetupCannotUseAndNamesTheFile)
{
    struct Case
    {
        const char* pszWhat;
        std::vector<std::string> files; // relative to "src"
        std::string sNamed;             // expected in the message
    };
    const std::string sLong(96, 'L');
    const Case cases[] = {
        {"names differing in case", {"one/Name.txt", "two/NAME.TXT"}, "NAME.TXT"},
        {"same name in two folders", {"one/x.dll", "two/x.dll"}, "x.dll"},
        {"name too long for the field", {sLong}, sLong},
        {"file of 4 GiB", {"huge.bin"}, "huge.bin"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pszWhat);
        TempDir dir;
        for (const std::string& sFile : c.files)
            WriteBytes(dir.Path() / "src" / sFile, "data");
        if (c.sNamed == "huge.bin") // sparse: costs no disk space
            fs::resize_file(dir.Path() / "src" / "huge.bin", 0x100000000ull);
        ToolRun run = RunTool({"pack", "-o", dir / "Setup.dat", dir / "src"});
        EXPECT_EQ(run.iExit, SETUPDAT_EXIT_FAILURE);
        EXPECT_NE(run.sErr.find(c.sNamed), std::string::npos) << run.sErr;
        EXPECT_FALSE(fs::exists(dir.Path() / "Setup.dat"));
    }
}

TEST(Pack, EmptyFolderGivesAHeaderOnlyArchive)
{
    TempDir dir;
    fs::create_directory(dir.Path() / "empty");
    ASSERT_EQ(RunTool({"pack", "-o", dir / "Setup.dat", dir / "empty"}).iExit, 0);
    EXPECT_EQ(fs::file_size(dir.Path() / "Setup.dat"), SETUPDAT_HEADER_SIZE);
    EXPECT_EQ(RunTool({"verify", dir / "Setup.dat"}).iExit, 0);
}
