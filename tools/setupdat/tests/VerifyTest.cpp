#include "InstallPlanNames.h"
#include "SetupDatFormat.h"
#include "ToolTestSupport.h"

#include <cctype>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>

namespace
{
// Packs two small files and returns the archive's bytes.
std::string SmallArchive(const TempDir& dir)
{
    WriteBytes(dir.Path() / "src" / "a.txt", "alpha");
    WriteBytes(dir.Path() / "src" / "b.txt", "beta");
    EXPECT_EQ(RunTool({"pack", "-o", dir / "good.dat", dir / "src"}).iExit, 0);
    return ReadBytes(dir.Path() / "good.dat");
}

void PutU32(std::string& s, std::size_t iOffset, std::uint32_t dwValue)
{
    std::memcpy(&s[iOffset], &dwValue, sizeof(dwValue));
}

constexpr std::size_t COUNT_OFFSET = 36;
constexpr std::size_t FIRST_SIZE_HIGH = SETUPDAT_HEADER_SIZE + 132;
} // namespace

TEST(Verify, FindsTheFirstFaultOfADamagedArchive)
{
    struct Case
    {
        const char* pszWhat;
        std::function<void(std::string&)> damage;
        int iExit;
        const char* pszMessage;
    };
    const Case cases[] = {
        {"sound archive", [](std::string&) {}, 0, "OK, 2 entries"},
        {"signature in other letter case",
         [](std::string& s) { std::memcpy(&s[0], "qUORVANE sETUP fILE", 19); }, 0, "OK"},
        {"foreign signature", [](std::string& s) { s[18] = 'X'; }, 1, "invalid signature"},
        {"signature runs on", [](std::string& s) { s[19] = 's'; }, 1, "invalid signature"},
        {"empty file", [](std::string& s) { s.clear(); }, 1, "shorter than the 72-byte header"},
        {"short header", [](std::string& s) { s.resize(71); }, 1, "shorter than the 72-byte"},
        {"header only, count 0",
         [](std::string& s)
         {
             s.resize(72);
             PutU32(s, COUNT_OFFSET, 0);
         },
         0, "OK, 0 entries"},
        {"count beyond the table", [](std::string& s) { PutU32(s, COUNT_OFFSET, 3); }, 1,
         "past the end of the archive"},
        {"count whose byte size wraps 32 bits",
         [](std::string& s) { PutU32(s, COUNT_OFFSET, 0x10000000); }, 1, "table of 268435456"},
        {"truncated data", [](std::string& s) { s.pop_back(); }, 1, "entry 2 (b.txt): data block"},
        {"size of 4 GiB", [](std::string& s) { PutU32(s, FIRST_SIZE_HIGH, 1); }, 1,
         "entry 1 (a.txt): size of 4 GiB"},
    };
    TempDir dir;
    const std::string sGood = SmallArchive(dir);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pszWhat);
        std::string sArchive = sGood;
        c.damage(sArchive);
        WriteBytes(dir.Path() / "test.dat", sArchive);
        ToolRun run = RunTool({"verify", dir / "test.dat"});
        EXPECT_EQ(run.iExit, c.iExit);
        EXPECT_NE((run.sOut + run.sErr).find(c.pszMessage), std::string::npos)
            << run.sOut << run.sErr;
    }
}

TEST(Verify, PlanCheckNamesTheFirstMissingFileAndIgnoresLetterCase)
{
    TempDir dir;
    std::vector<std::string> names = InstallPlanNames();
    ASSERT_EQ(names.size(), 30u);
    EXPECT_EQ(names[10], "Texture001.bmp");
    EXPECT_EQ(names[29], "Texture020.bmp");
    for (std::size_t i = 0; i < names.size(); ++i)
    {
        std::string sName = names[i];
        if (i % 2 == 0)
            for (char& ch : sName)
                ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        WriteBytes(dir.Path() / "media" / sName, sName);
    }
    ASSERT_EQ(RunTool({"pack", "-o", dir / "full.dat", dir / "media"}).iExit, 0);
    ToolRun full = RunTool({"verify", dir / "full.dat", "--plan"});
    EXPECT_EQ(full.iExit, 0) << full.sErr;

    fs::remove(dir.Path() / "media" / "QVMANAG.EXE");
    ASSERT_EQ(RunTool({"pack", "-o", dir / "short.dat", dir / "media"}).iExit, 0);
    EXPECT_EQ(RunTool({"verify", dir / "short.dat"}).iExit, 0);
    ToolRun missing = RunTool({"verify", "--plan", dir / "short.dat"});
    EXPECT_EQ(missing.iExit, 1);
    EXPECT_NE(missing.sErr.find("install-plan file missing: QvManag.exe"), std::string::npos)
        << missing.sErr;
}
