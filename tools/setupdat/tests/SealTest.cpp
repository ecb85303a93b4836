// The digest, the seal of a setup program and the reproducible archive times.
#include "ArchiveSeal.h"
#include "FileTime.h"
#include "PeImage.h"
#include "Sha256.h"
#include "ToolTestSupport.h"

#include <cstdlib>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>

namespace
{
std::string Sha256Hex(const std::string& sData, std::size_t nChunk, bool bShaExtensions = true)
{
    CSha256 sha;
    sha.UseShaExtensions(bShaExtensions);
    for (std::size_t i = 0; i < sData.size(); i += nChunk)
        sha.Update(sData.data() + i, std::min(nChunk, sData.size() - i));
    std::uint8_t digest[SHA256_DIGEST_SIZE];
    sha.Finish(digest);
    char szHex[2 * SHA256_DIGEST_SIZE + 1];
    for (std::size_t i = 0; i < SHA256_DIGEST_SIZE; ++i)
        std::snprintf(szHex + 2 * i, 3, "%02x", digest[i]);
    return szHex;
}

void PutU32(std::string& s, std::size_t nOffset, std::uint32_t dwValue)
{
    for (int i = 0; i < 4; ++i)
        s[nOffset + i] = static_cast<char>(dwValue >> (8 * i));
}

constexpr std::size_t OPTIONAL_HEADER = 0x58;
constexpr std::size_t SECURITY_DIRECTORY = OPTIONAL_HEADER + 96 + 8 * 4;
constexpr std::size_t SEAL_ID_ENTRY = 0x200 + 0x18 + 16;
constexpr std::size_t SEAL_DATA = 0x200 + 0x58;

// The smallest 32-bit program the seal can be found in: headers and one
// section holding a resource tree of type RCDATA, the seal's id, one
// language and 32 zero bytes.
std::string SealableProgram()
{
    std::string s(0x400, '\0');
    s[0] = 'M';
    s[1] = 'Z';
    PutU32(s, 0x3C, 0x40);
    PutU32(s, 0x40, 0x00004550);
    PutU32(s, 0x44, 0x0001014C);                  // i386, one section
    PutU32(s, 0x54, 0x010200E0);                  // optional header size, flags
    PutU32(s, OPTIONAL_HEADER, 0x10B);            // PE32
    PutU32(s, OPTIONAL_HEADER + 92, 16);          // data directories
    PutU32(s, OPTIONAL_HEADER + 96 + 16, 0x1000); // resources: RVA, size
    PutU32(s, OPTIONAL_HEADER + 96 + 20, 0x78);
    std::size_t nSection = OPTIONAL_HEADER + 0xE0;
    std::memcpy(&s[nSection], ".rsrc", 5);
    PutU32(s, nSection + 8, 0x78);
    PutU32(s, nSection + 12, 0x1000);
    PutU32(s, nSection + 16, 0x200);
    PutU32(s, nSection + 20, 0x200);
    const std::uint32_t tree[][2] = {
        {10, 0x80000018}, {ARCHIVE_SEAL_RESOURCE, 0x80000030}, {0x409, 0x48}};
    for (std::size_t i = 0; i < 3; ++i)
    {
        std::size_t nDirectory = 0x200 + 0x18 * i;
        PutU32(s, nDirectory + 12, 0x00010000); // one id entry
        PutU32(s, nDirectory + 16, tree[i][0]);
        PutU32(s, nDirectory + 20, tree[i][1]);
    }
    PutU32(s, 0x200 + 0x48, 0x1058);
    PutU32(s, 0x200 + 0x4C, ARCHIVE_SEAL_SIZE);
    return s;
}

void SetEnvironment(const char* pszName, const char* pszValue)
{
#ifdef _WIN32
    _putenv_s(pszName, pszValue);
#else
    setenv(pszName, pszValue, 1);
#endif
}
} // namespace

TEST(Sha256, KnownAnswersInAnyChunking)
{
    const std::pair<std::string, const char*> cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    // The plain code, and the SHA extensions where the processor has them.
    for (bool bShaExtensions : {false, CSha256::HasShaExtensions()})
    {
        for (const auto& [sData, pszDigest] : cases)
        {
            // Chunks across the block and padding boundaries (55, 56, 64 bytes).
            for (std::size_t nChunk : {std::size_t(1), std::size_t(55), std::size_t(64),
                                       std::size_t(1000), sData.size() + 1})
                EXPECT_EQ(Sha256Hex(sData, nChunk, bShaExtensions), pszDigest)
                    << sData.size() << " bytes in chunks of " << nChunk
                    << (bShaExtensions ? ", SHA extensions" : ", plain code");
        }
    }
}

TEST(Seal, WritesTheArchiveDigestAndChecksumAndVerifyComparesThem)
{
    TempDir dir;
    WriteBytes(dir.Path() / "Setup.exe", SealableProgram());
    WriteBytes(dir.Path() / "src" / "a.txt", "alpha");
    ASSERT_EQ(RunTool({"pack", "-o", dir / "Setup.dat", dir / "src"}).iExit, 0);
    ToolRun unsealed = RunTool({"verify", dir / "Setup.dat", "--setup", dir / "Setup.exe"});
    EXPECT_EQ(unsealed.iExit, SETUPDAT_EXIT_FAILURE);
    EXPECT_NE(unsealed.sErr.find("carries no archive seal"), std::string::npos) << unsealed.sErr;

    ASSERT_EQ(RunTool({"seal", dir / "Setup.exe", dir / "Setup.dat"}).iExit, 0);
    std::string sealed = ReadBytes(dir.Path() / "Setup.exe");
    std::string archive = ReadBytes(dir.Path() / "Setup.dat");
    std::string sDigest = Sha256Hex(archive, 64);
    for (std::size_t i = 0; i < ARCHIVE_SEAL_SIZE; ++i)
        EXPECT_EQ(static_cast<unsigned char>(sealed[SEAL_DATA + i]),
                  std::stoul(sDigest.substr(2 * i, 2), nullptr, 16));
    EXPECT_EQ(StoredPeChecksum(sealed), ComputePeChecksum(sealed));
    EXPECT_NE(StoredPeChecksum(sealed), 0u);
    EXPECT_EQ(sealed.substr(SEAL_DATA + ARCHIVE_SEAL_SIZE),
              SealableProgram().substr(SEAL_DATA + ARCHIVE_SEAL_SIZE));
    EXPECT_EQ(RunTool({"verify", dir / "Setup.dat", "--setup", dir / "Setup.exe"}).iExit, 0);

    archive.back() ^= 1;
    WriteBytes(dir.Path() / "Setup.dat", archive);
    ToolRun changed = RunTool({"verify", dir / "Setup.dat", "--setup", dir / "Setup.exe"});
    EXPECT_EQ(changed.iExit, SETUPDAT_EXIT_FAILURE);
    EXPECT_NE(changed.sErr.find("not the archive"), std::string::npos) << changed.sErr;
}

TEST(Seal, RefusesWhatItCannotSealAndLeavesTheFile)
{
    struct Case
    {
        const char* pszWhat;
        std::function<void(std::string&)> change;
        const char* pszMessage;
    };
    const Case cases[] = {
        {"signed program", [](std::string& s) { PutU32(s, SECURITY_DIRECTORY + 4, 8); },
         "is signed"},
        {"no seal resource",
         [](std::string& s) { PutU32(s, SEAL_ID_ENTRY, ARCHIVE_SEAL_RESOURCE + 1); },
         "no archive seal resource"},
        {"seal of another size", [](std::string& s) { PutU32(s, 0x200 + 0x4C, 16); },
         "16 bytes instead of 32"},
        {"not a program", [](std::string& s) { s[0] = 'Z'; }, "no MZ header"},
        {"headers cut off", [](std::string& s) { s.resize(0x100); }, "outside the file"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pszWhat);
        TempDir dir;
        std::string program = SealableProgram();
        c.change(program);
        WriteBytes(dir.Path() / "Setup.exe", program);
        WriteBytes(dir.Path() / "Setup.dat", "the archive");
        ToolRun run = RunTool({"seal", dir / "Setup.exe", dir / "Setup.dat"});
        EXPECT_EQ(run.iExit, SETUPDAT_EXIT_FAILURE);
        EXPECT_NE(run.sErr.find(c.pszMessage), std::string::npos) << run.sErr;
        EXPECT_EQ(ReadBytes(dir.Path() / "Setup.exe"), program);
    }
}

// Files checked out or built at different times pack to the same archive.
TEST(Pack, TakesEveryEntrysTimesFromSourceDateEpoch)
{
    TempDir dir;
    WriteBytes(dir.Path() / "src" / "a.txt", "alpha");
    WriteBytes(dir.Path() / "src" / "b.txt", "beta");
    SetEnvironment("SOURCE_DATE_EPOCH", "1700000000");
    ToolRun first = RunTool({"pack", "-o", dir / "first.dat", dir / "src"});
    fs::last_write_time(dir.Path() / "src" / "a.txt",
                        fs::last_write_time(dir.Path() / "src" / "a.txt") - std::chrono::hours(50));
    ToolRun second = RunTool({"pack", "-o", dir / "second.dat", dir / "src"});
    SetEnvironment("SOURCE_DATE_EPOCH", "yesterday");
    ToolRun wrong = RunTool({"pack", "-o", dir / "wrong.dat", dir / "src"});
    SetEnvironment("SOURCE_DATE_EPOCH", "");
    ASSERT_EQ(first.iExit, 0) << first.sErr;
    ASSERT_EQ(second.iExit, 0) << second.sErr;
    std::string archive = ReadBytes(dir.Path() / "first.dat");
    EXPECT_EQ(ReadBytes(dir.Path() / "second.dat"), archive);
    ToolRun list = RunTool({"list", dir / "first.dat"});
    EXPECT_NE(list.sOut.find("created 2023-11-14 22:13:20 UTC  accessed 2023-11-14 22:13:20 UTC  "
                             "written 2023-11-14 22:13:20 UTC"),
              std::string::npos)
        << list.sOut;
    EXPECT_EQ(wrong.iExit, SETUPDAT_EXIT_FAILURE);
    EXPECT_NE(wrong.sErr.find("SOURCE_DATE_EPOCH"), std::string::npos) << wrong.sErr;
}
