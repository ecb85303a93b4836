#include "CSetupDatFile.h"
#include "LogCollector.h"
#include "TestSupport.h"
#include "TxErrorText.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>

namespace
{
struct TestEntry
{
    std::string sName; // raw bytes of the name field, cut to 96
    std::string sData;
    DWORD dwAttributes;
};

FILETIME TestTime(int iEntry, int iWhich)
{
    // 2004-03-05 09:07 UTC, apart by entry and by which of the three times.
    unsigned long long qw = 127229380200000000ull + iEntry * 600000000ull + iWhich * 10000000ull;
    return FILETIME{static_cast<DWORD>(qw), static_cast<DWORD>(qw >> 32)};
}

SetupDatFileTime StoredTime(int iEntry, int iWhich)
{
    FILETIME ft = TestTime(iEntry, iWhich);
    return SetupDatFileTime{ft.dwLowDateTime, ft.dwHighDateTime};
}

// Header, table and data blocks in table order behind the table.
std::string BuildArchive(const std::vector<TestEntry>& entries)
{
    SetupDatFileHeader header = {};
    std::memcpy(header.Signature, SETUPDAT_SIGNATURE, sizeof(SETUPDAT_SIGNATURE));
    header.FileCount = static_cast<uint32_t>(entries.size());
    std::string sTable;
    std::string sData;
    uint32_t dwOffset = static_cast<uint32_t>(SetupDatTableEnd(header.FileCount));
    for (size_t i = 0; i < entries.size(); ++i)
    {
        PackageFile entry = {};
        std::memcpy(entry.Name, entries[i].sName.data(),
                    std::min(entries[i].sName.size(), sizeof(entry.Name)));
        entry.Attributes = entries[i].dwAttributes;
        entry.CreationTime = StoredTime(static_cast<int>(i), 0);
        entry.LastAccessTime = StoredTime(static_cast<int>(i), 1);
        entry.LastWriteTime = StoredTime(static_cast<int>(i), 2);
        entry.SizeLow = static_cast<uint32_t>(entries[i].sData.size());
        entry.DataOffset = dwOffset + static_cast<uint32_t>(sData.size());
        sTable.append(reinterpret_cast<const char*>(&entry), sizeof(entry));
        sData += entries[i].sData;
    }
    return std::string(reinterpret_cast<const char*>(&header), sizeof(header)) + sTable + sData;
}

void PutU32(std::string& s, size_t iOffset, uint32_t dwValue)
{
    std::memcpy(&s[iOffset], &dwValue, sizeof(dwValue));
}

constexpr size_t COUNT_OFFSET = 36;

unsigned long long TimeValue(const FILETIME& ft)
{
    return (static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

// Wine on a Linux file system keeps no creation time and reports the last
// write time instead.
bool CreationTimeIsKept()
{
    HMODULE hNtdll = GetModuleHandleA("ntdll.dll");
    return hNtdll == nullptr || GetProcAddress(hNtdll, "wine_get_version") == nullptr;
}

// Whether the system refuses to re-create a read-only file (Windows does; Wine
// run by root does not).
bool ReadOnlyFileIsRefused(const TempFolder& folder)
{
    std::string sProbe = folder.AddFile("probe.ro", "p");
    EXPECT_TRUE(SetFileAttributesA(sProbe.c_str(), FILE_ATTRIBUTE_READONLY));
    TxFileHandle hFile(CreateFileA(sProbe.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return !hFile.IsValid();
}

// Names that differ only in case, a name that carries a "/", and a texture.
std::vector<TestEntry> LookupEntries()
{
    return {
        {"Setup.ini", "first", FILE_ATTRIBUTE_ARCHIVE},
        {"SETUP.INI", "second", FILE_ATTRIBUTE_HIDDEN},
        {"Texture001.bmp", "BM", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY},
        {"b/c.txt", "slash", FILE_ATTRIBUTE_SYSTEM},
    };
}
} // namespace

class CSetupDatFileTest : public ::testing::Test
{
protected:
    std::string AddArchive(const std::string& sBytes, const char* pszName = "Setup.dat")
    {
        return m_Folder.AddFile(pszName, sBytes);
    }
    bool Logged(const std::string& sMessage) const
    {
        std::vector<std::string> messages = m_Log.Messages();
        return std::find(messages.begin(), messages.end(), sMessage) != messages.end();
    }
    std::string LogText() const
    {
        std::string sText;
        for (const std::string& sMessage : m_Log.Messages())
            sText += sMessage + "\n";
        return sText;
    }

    TempFolder m_Folder;
    LogCollector m_Log;
    CSetupDatFile m_Dat;
};

TEST_F(CSetupDatFileTest, RefusedArchiveLogsItsReasonAndLeavesNoTable)
{
    std::string sGood = BuildArchive(LookupEntries());
    struct Case
    {
        const char* pszWhat;
        std::string sBytes;
        const char* pszMessage; // followed by the path
    };
    std::string sRunOn = sGood;
    std::memcpy(&sRunOn[0], "Quorvane Setup Filex", 20); // text runs on past the signature
    std::string sCountBeyond = sGood;
    PutU32(sCountBeyond, COUNT_OFFSET, 5);
    std::string sCountWraps = sGood.substr(0, 72);
    PutU32(sCountWraps, COUNT_OFFSET, 0x10000000); // 0x10000000 * 176 wraps to 0 in 32 bits
    std::string sCountMax = sGood;
    PutU32(sCountMax, COUNT_OFFSET, 0xFFFFFFFF);
    const Case cases[] = {
        {"empty file", "", "CSetupDatFile::OpenDatFile: Failure to read SetupDatFileHeader from "},
        {"71 bytes", sGood.substr(0, 71),
         "CSetupDatFile::OpenDatFile: Failure to read SetupDatFileHeader from "},
        {"signature with more text", sRunOn, "CSetupDatFile::OpenDatFile: Invalid header in "},
        {"count beyond the table", sCountBeyond,
         "CSetupDatFile::OpenDatFile: Failure to read PackageFiles from "},
        {"count whose size wraps", sCountWraps,
         "CSetupDatFile::OpenDatFile: Failure to read PackageFiles from "},
        {"largest count", sCountMax,
         "CSetupDatFile::OpenDatFile: Failure to read PackageFiles from "},
    };
    ASSERT_TRUE(m_Log.IsReady());
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pszWhat);
        std::string sPath = AddArchive(c.sBytes);
        m_Log.Clear();
        EXPECT_FALSE(m_Dat.OpenDatFile(sPath.c_str()));
        EXPECT_TRUE(Logged(c.pszMessage + sPath)) << LogText();
        EXPECT_FALSE(m_Dat.FindPackageFile("Setup.ini", nullptr));
        EXPECT_FALSE(m_Dat.CopyFile("Setup.ini", m_Folder.Child("out").c_str()));
        EXPECT_TRUE(Logged("CSetupDatFile::CopyFile: PackageFiles == NULL")) << LogText();
        m_Dat.CloseDatFile();
    }
}

TEST_F(CSetupDatFileTest, MissingArchiveLogsTheFileLayersMessage)
{
    EXPECT_FALSE(m_Dat.OpenDatFile(m_Folder.Child("none.dat").c_str()));
    EXPECT_TRUE(
        Logged("Exception in CSetupDatFile::OpenDatFile: " + SystemErrorText(ERROR_FILE_NOT_FOUND)))
        << LogText();
}

TEST_F(CSetupDatFileTest, SignatureInOtherCaseAndEmptyTableAreAccepted)
{
    std::string sBytes = BuildArchive({});
    ASSERT_EQ(sBytes.size(), 72u);
    std::memcpy(&sBytes[0], "QUORVANE setup file", 19);
    ASSERT_TRUE(m_Dat.OpenDatFile(AddArchive(sBytes).c_str())) << LogText();
    EXPECT_FALSE(m_Dat.FindPackageFile("", nullptr));
    EXPECT_FALSE(m_Dat.CopyFile("D:\\CD\\QvApi.dll", m_Folder.Child("out").c_str()));
    EXPECT_TRUE(Logged("CSetupDatFile::CopyFile: file not found: QvApi.dll")) << LogText();
}

TEST_F(CSetupDatFileTest, LooksUpTheFileNamePartIgnoringCaseAndTakesTheFirstMatch)
{
    std::vector<TestEntry> entries = LookupEntries();
    entries.push_back({"Strasse.txt", "ss", FILE_ATTRIBUTE_ARCHIVE});
    entries.push_back({"Soft\xADHyphen.txt", "soft hyphen", FILE_ATTRIBUTE_ARCHIVE});
    ASSERT_TRUE(m_Dat.OpenDatFile(AddArchive(BuildArchive(entries)).c_str()));
    struct Case
    {
        const char* pszName;
        const char* pszFound; // stored name, or null for none
    };
    const Case cases[] = {
        {"setup.ini", "Setup.ini"},
        {"SETUP.INI", "Setup.ini"},
        {"D:\\CD\\Setup.INI", "Setup.ini"},
        {"media/Textures/TEXTURE001.bmp", "Texture001.bmp"},
        {"x/y\\texture001.BMP", "Texture001.bmp"},
        {"a\\b/c.txt", "b/c.txt"}, // after the last "\" even when a "/" follows
        {"a/b\\c.txt", nullptr},
        // Equal to the locale-aware comparison at another byte length.
        {"Stra\xDF"
         "e.txt",
         "Strasse.txt"},
        {"SoftHyphen.txt", "Soft\xADHyphen.txt"},
        {"Setup.in", nullptr},
        {"Textures\\", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pszName);
        TxFileInfo info;
        bool bFound = m_Dat.FindPackageFile(c.pszName, &info);
        ASSERT_EQ(bFound, c.pszFound != nullptr);
        if (bFound)
        {
            EXPECT_STREQ(info.m_sName.GetText(), c.pszFound);
        }
    }
}

TEST_F(CSetupDatFileTest, FindFillsTheDescriptionFromTheEntry)
{
    std::string sBytes = BuildArchive(LookupEntries());
    PutU32(sBytes, SETUPDAT_HEADER_SIZE + 2 * SETUPDAT_ENTRY_SIZE + 132, 1); // SizeHigh
    ASSERT_TRUE(m_Dat.OpenDatFile(AddArchive(sBytes).c_str()));
    TxFileInfo info;
    ASSERT_TRUE(m_Dat.FindPackageFile("texture001.bmp", &info));
    EXPECT_EQ(info.m_dwAttributes, DWORD(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(TimeValue(info.m_ftCreationTime), TimeValue(TestTime(2, 0)));
    EXPECT_EQ(TimeValue(info.m_ftLastAccessTime), TimeValue(TestTime(2, 1)));
    EXPECT_EQ(TimeValue(info.m_ftLastWriteTime), TimeValue(TestTime(2, 2)));
    EXPECT_EQ(info.m_qwSize, 0x100000002ull);
    EXPECT_TRUE(m_Dat.FindPackageFile("SETUP.INI", nullptr));
    EXPECT_TRUE(m_Log.Messages().empty()) << LogText();
}

TEST_F(CSetupDatFileTest, NameFieldWithoutZeroIsTakenAsNinetySixCharacters)
{
    const std::string sFull(96, 'n');
    ASSERT_TRUE(m_Dat.OpenDatFile(
        AddArchive(BuildArchive({{sFull, "x", 0x41414141}, {"next", "y", 0}})).c_str()));
    TxFileInfo info;
    ASSERT_TRUE(m_Dat.FindPackageFile(sFull.c_str(), &info));
    EXPECT_EQ(info.m_sName.Length(), 96);
    EXPECT_FALSE(m_Dat.FindPackageFile((sFull + "A").c_str(), nullptr));
    EXPECT_TRUE(m_Dat.CopyFile(("C:\\" + sFull).c_str(), m_Folder.Child("out").c_str()));
}

TEST_F(CSetupDatFileTest, ExtractsBytesAndTimesIntoANewOrReplacedFile)
{
    std::string sTexture(70000, '\0');
    for (size_t i = 0; i < sTexture.size(); ++i)
        sTexture[i] = static_cast<char>(i * 7);
    std::vector<TestEntry> entries = LookupEntries();
    entries[2].sData = sTexture;
    ASSERT_TRUE(m_Dat.OpenDatFile(AddArchive(BuildArchive(entries)).c_str()));
    // The target exists with longer content: it is replaced, not overwritten in place.
    std::string sTarget = m_Folder.AddFile("Texture001.bmp", std::string(80000, 'o'));
    ASSERT_TRUE(m_Dat.CopyFile("D:\\CD\\Textures\\Texture001.bmp", sTarget.c_str())) << LogText();

    // The times first: reading the file may move its access time.
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ASSERT_TRUE(GetFileAttributesExA(sTarget.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(TimeValue(data.ftCreationTime), TimeValue(TestTime(2, CreationTimeIsKept() ? 0 : 2)));
    EXPECT_EQ(TimeValue(data.ftLastAccessTime), TimeValue(TestTime(2, 1)));
    EXPECT_EQ(TimeValue(data.ftLastWriteTime), TimeValue(TestTime(2, 2)));
    // The stored read-only bit is not given to the installed file.
    EXPECT_EQ(data.dwFileAttributes & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(ReadWholeFile(sTarget), sTexture);

    ASSERT_TRUE(m_Dat.CopyFile("setup.ini", m_Folder.Child("first.ini").c_str()));
    EXPECT_EQ(ReadWholeFile(m_Folder.Child("first.ini")), "first");
}

TEST_F(CSetupDatFileTest, FailedExtractionLogsAndLeavesNoShortenedFile)
{
    std::vector<TestEntry> entries = LookupEntries();
    std::string sArchive = AddArchive(BuildArchive(entries));
    std::string sTruncated = BuildArchive(entries);
    sTruncated.pop_back(); // the last block, "slash", loses a byte
    std::string sFarOffset = BuildArchive(entries);
    PutU32(sFarOffset, SETUPDAT_HEADER_SIZE + 136, 0xFFFFFFF0); // Setup.ini's DataOffset
    std::string sTruncatedPath = AddArchive(sTruncated, "cut.dat");
    std::string sFarPath = AddArchive(sFarOffset, "far.dat");
    std::string sReadError = "Exception in CSetupDatFile::CopyFile: Error reading file ";

    struct Case
    {
        const char* pszWhat;
        std::string sArchive;
        const char* pszName;
        std::string sTarget;
        std::string sMessage;
    };
    const Case cases[] = {
        {"truncated archive", sTruncatedPath, "x\\b/c.txt", m_Folder.Child("new.txt"),
         sReadError + sTruncatedPath + "."},
        {"offset past the end", sFarPath, "Setup.ini", m_Folder.Child("new.txt"),
         sReadError + sFarPath + "."},
        {"missing target folder", sArchive, "Setup.ini", m_Folder.Child("no\\such.ini"),
         "Exception in CSetupDatFile::CopyFile: " + SystemErrorText(ERROR_PATH_NOT_FOUND)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pszWhat);
        ASSERT_TRUE(m_Dat.OpenDatFile(c.sArchive.c_str()));
        m_Log.Clear();
        EXPECT_FALSE(m_Dat.CopyFile(c.pszName, c.sTarget.c_str()));
        EXPECT_TRUE(Logged(c.sMessage)) << LogText();
        EXPECT_EQ(GetFileAttributesA(c.sTarget.c_str()), INVALID_FILE_ATTRIBUTES);
    }
}

TEST_F(CSetupDatFileTest, TruncatedArchiveLeavesAnExistingTargetAlone)
{
    std::string sBytes = BuildArchive(LookupEntries());
    sBytes.pop_back();
    ASSERT_TRUE(m_Dat.OpenDatFile(AddArchive(sBytes).c_str()));
    std::string sTarget = m_Folder.AddFile("c.txt", "installed earlier");
    EXPECT_FALSE(m_Dat.CopyFile("x\\b/c.txt", sTarget.c_str()));
    EXPECT_EQ(ReadWholeFile(sTarget), "installed earlier");
}

TEST_F(CSetupDatFileTest, ReadOnlyTargetFailsAsTheSystemDecidesAndIsNeverDeleted)
{
    // The copy engine clears the read-only bit first; here the system decides.
    bool bRefused = ReadOnlyFileIsRefused(m_Folder);
    ASSERT_TRUE(m_Dat.OpenDatFile(AddArchive(BuildArchive(LookupEntries())).c_str()));
    std::string sTarget = m_Folder.AddFile("Setup.ini", "kept");
    ASSERT_TRUE(SetFileAttributesA(sTarget.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(m_Dat.CopyFile("Setup.ini", sTarget.c_str()), !bRefused);
    if (bRefused)
    {
        EXPECT_TRUE(
            Logged("Exception in CSetupDatFile::CopyFile: " + SystemErrorText(ERROR_ACCESS_DENIED)))
            << LogText();
        EXPECT_NE(GetFileAttributesA(sTarget.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    }
    EXPECT_EQ(ReadWholeFile(sTarget), bRefused ? "kept" : "first");
}

TEST_F(CSetupDatFileTest, ReopeningReplacesTheTableAndClosingTwiceIsSafe)
{
    ASSERT_TRUE(m_Dat.OpenDatFile(AddArchive(BuildArchive(LookupEntries())).c_str()));
    ASSERT_TRUE(
        m_Dat.OpenDatFile(AddArchive(BuildArchive({{"Other.txt", "o", 0}}), "other.dat").c_str()));
    EXPECT_FALSE(m_Dat.FindPackageFile("Setup.ini", nullptr));
    EXPECT_TRUE(m_Dat.FindPackageFile("other.TXT", nullptr));
    m_Dat.CloseDatFile();
    m_Dat.CloseDatFile();
    EXPECT_FALSE(m_Dat.FindPackageFile("other.TXT", nullptr));
    // The archive is no longer held open: it can be deleted.
    EXPECT_TRUE(DeleteFileA(m_Folder.Child("other.dat").c_str()));
}
