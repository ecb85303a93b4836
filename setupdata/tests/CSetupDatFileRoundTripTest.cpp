// Archives written by the archive tool, read by the setup's reader.
#include "CSetupDatFile.h"
#include "Commands.h"
#include "FileStamp.h"
#include "FileTime.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <sstream>

namespace
{
struct SourceFile
{
    const char* pszRelative;
    std::string sData;
};

unsigned long long TimeValue(const FILETIME& ft)
{
    return (static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

WIN32_FILE_ATTRIBUTE_DATA Attributes(const std::string& sPath)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    EXPECT_TRUE(GetFileAttributesExA(sPath.c_str(), GetFileExInfoStandard, &data)) << sPath;
    return data;
}

int RunTool(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    int iExit = RunSetupDat(args, out, err);
    EXPECT_EQ(iExit, 0) << err.str();
    return iExit;
}
} // namespace

TEST(CSetupDatFileRoundTrip, PackedFilesComeBackWithTheirBytesAndTimes)
{
    std::string sBinary(200000, '\0');
    for (size_t i = 0; i < sBinary.size(); ++i)
        sBinary[i] = static_cast<char>((i * 31) >> 3);
    const SourceFile files[] = {
        {"QvAgent.exe", "MZ agent"},
        {"Empty.dat", ""},
        {"Textures\\Texture001.bmp", sBinary},
        {"Textures\\Deep\\ReadMe.html", "<html></html>"},
    };
    TempFolder folder;
    ASSERT_TRUE(CreateDirectoryA(folder.Child("media").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(folder.Child("media\\Textures").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(folder.Child("media\\Textures\\Deep").c_str(), nullptr));
    for (size_t i = 0; i < std::size(files); ++i)
    {
        std::string sPath =
            folder.AddFile(std::string("media\\") + files[i].pszRelative, files[i].sData);
        FileStamp stamp;
        stamp.ftCreation = MakeFileTime(127229380200000000ull + i * 600000000ull);
        stamp.ftLastAccess = MakeFileTime(127229380210000000ull + i * 600000000ull);
        stamp.ftLastWrite = MakeFileTime(127229380220000000ull + i * 600000000ull);
        std::string sError;
        ASSERT_TRUE(ApplyFileTimes(sPath, stamp, sError)) << sError;
    }
    // Stamps before packing: reading a file may move its access time.
    std::vector<WIN32_FILE_ATTRIBUTE_DATA> sources;
    for (const SourceFile& file : files)
        sources.push_back(Attributes(folder.Child(std::string("media\\") + file.pszRelative)));
    ASSERT_EQ(RunTool({"pack", "-o", folder.Child("Setup.dat"), folder.Child("media")}), 0);

    CSetupDatFile dat;
    ASSERT_TRUE(dat.OpenDatFile(folder.Child("Setup.dat").c_str()));
    ASSERT_TRUE(CreateDirectoryA(folder.Child("out").c_str(), nullptr));
    for (size_t i = 0; i < std::size(files); ++i)
    {
        SCOPED_TRACE(files[i].pszRelative);
        std::string sSource = std::string("D:\\CD\\") + files[i].pszRelative;
        TxFileInfo info;
        ASSERT_TRUE(dat.FindPackageFile(sSource.c_str(), &info));
        EXPECT_EQ(info.m_qwSize, files[i].sData.size());
        EXPECT_EQ(info.m_dwAttributes, sources[i].dwFileAttributes);

        std::string sTarget = folder.Child("out\\" + std::to_string(i));
        ASSERT_TRUE(dat.CopyFile(sSource.c_str(), sTarget.c_str()));
        WIN32_FILE_ATTRIBUTE_DATA target = Attributes(sTarget);
        EXPECT_EQ(TimeValue(target.ftCreationTime), TimeValue(sources[i].ftCreationTime));
        EXPECT_EQ(TimeValue(target.ftLastAccessTime), TimeValue(sources[i].ftLastAccessTime));
        EXPECT_EQ(TimeValue(target.ftLastWriteTime), TimeValue(sources[i].ftLastWriteTime));
        EXPECT_EQ(ReadWholeFile(sTarget), files[i].sData);
    }
}
