#include "EngineTestSupport.h"
#include "Environment.h"
#include "RegistryHelpers.h"
#include "SetupState.h"

#include <gtest/gtest.h>

TEST(InstallPlan, ThirtyEntriesInPlanOrder)
{
    CInstallFileList plan;
    BuildInstallPlan(plan, "C:\\windows\\system32");
    ASSERT_EQ(plan.GetCount(), 30);
    struct Row
    {
        int iIndex;
        const char* pszName;
        const char* pszDstFolder;
        const char* pszSubFolder;
        unsigned long dwFlags;
    } rows[] = {
        {0, "QvAgent.exe", "", "", IF_PACKED},
        {5, "Uninstall.exe", "", "", IF_PACKED},
        {6, "Quorvane.scr", "C:\\windows\\system32", "", IF_PACKED},
        {7, "License.html", "", "", IF_LOCALIZED | IF_PACKED},
        {8, "Quorvane.chm", "", "", IF_LOCALIZED | IF_PACKED},
        {9, "ReadMe.html", "", "", IF_LOCALIZED | IF_PACKED},
        {10, "Texture001.bmp", "", "Textures", IF_PACKED},
        {29, "Texture020.bmp", "", "Textures", IF_PACKED},
    };
    for (const Row& r : rows)
    {
        const CInstallFile* p = plan.FileAt(r.iIndex);
        EXPECT_STREQ(p->sSrcName.GetText(), r.pszName);
        EXPECT_STREQ(p->sDstName.GetText(), r.pszName);
        EXPECT_STREQ(p->sDstFolder.GetText(), r.pszDstFolder);
        EXPECT_STREQ(p->sSubFolder.GetText(), r.pszSubFolder);
        EXPECT_EQ(p->dwFlags, r.dwFlags) << r.pszName;
    }
}

TEST(SetupDir, FolderPartOfTheProgramPath)
{
    struct Case
    {
        const char* pszProgram;
        const char* pszDir;
    } cases[] = {
        {"D:\\Setup.exe", "D:\\"}, {"D:\\CD\\Setup.exe", "D:\\CD"},
        {"D:Setup.exe", "D:"},     {"\\\\server\\share\\Setup.exe", "\\\\server\\share"},
        {"Setup.exe", ""},         {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(SetupDirFromProgramPath(c.pszProgram).GetText(), c.pszDir) << c.pszProgram;
    EXPECT_STREQ(JoinPath("D:\\", "Setup.dat").GetText(), "D:\\Setup.dat");
    EXPECT_STREQ(JoinPath("D:\\CD", "Setup.dat").GetText(), "D:\\CD\\Setup.dat");
    EXPECT_STREQ(JoinPath("D:/CD/", "Images").GetText(), "D:/CD/Images");
}

namespace
{
class PrepareEnvironmentTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegistryDeleteValue(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, "InstalledPrgDir");
    }
    void TearDown() override
    {
        RegistryDeleteValue(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, "InstalledPrgDir");
        g_InstallFiles.FreeAll();
        g_ImageFiles.FreeAll();
    }
    std::string Program() const { return m_Medium / "Setup.exe"; }
    TempFolder m_Medium;
};
} // namespace

TEST_F(PrepareEnvironmentTest, ImagesFolderOnTheMediumIsSearched)
{
    std::string images = m_Medium / "Images";
    CreateDirectoryA(images.c_str(), nullptr);
    WriteWholeFile(images + "\\a.jpg", "12345");
    WriteWholeFile(images + "\\B.JPG", "123");
    WriteWholeFile(images + "\\c.png", "1");
    CreateDirectoryA((images + "\\x.jpg").c_str(), nullptr);
    WriteWholeFile(m_Medium / "beside.jpg", "1");

    LogCollector log;
    PrepareEnvironment(Program().c_str());

    EXPECT_EQ(std::string(g_sSetupDir.GetText()), m_Medium.Path());
    EXPECT_EQ(std::string(g_sImgSrcDir.GetText()), images);
    EXPECT_EQ(g_ImageFiles.GetCount(), 2);
    EXPECT_EQ(g_qwImgSize, 8u);
    EXPECT_EQ(g_InstallFiles.GetCount(), 30);
    EXPECT_STREQ(g_InstallFiles.FileAt(6)->sDstFolder.GetText(), g_sSystemDir.GetText());
    EXPECT_TRUE(Contains(log.Messages(), "Setup dir: " + m_Medium.Path()));
    EXPECT_TRUE(Contains(log.Messages(), "Image files found at: " + images));
    EXPECT_TRUE(Contains(log.Messages(), "Found 2 images"));
    EXPECT_TRUE(Contains(log.Messages(), std::string("g_sDstDir: ") + g_sDstDir.GetText()));
}

TEST_F(PrepareEnvironmentTest, WithoutImagesFolderTheSetupFolderIsSearched)
{
    WriteWholeFile(m_Medium / "beside.jpg", "1234");
    LogCollector log;
    PrepareEnvironment(Program().c_str());
    EXPECT_EQ(std::string(g_sImgSrcDir.GetText()), m_Medium.Path());
    ASSERT_EQ(g_ImageFiles.GetCount(), 1);
    EXPECT_STREQ(g_ImageFiles.FileAt(0)->sSrcName.GetText(), "beside.jpg");
    EXPECT_EQ(g_ImageFiles.FileAt(0)->dwFlags, 0u);
    EXPECT_EQ(g_qwImgSize, 4u);
    for (const std::string& line : log.Messages())
        EXPECT_EQ(line.find("Image files found at:"), std::string::npos);
}

TEST_F(PrepareEnvironmentTest, NoImagesAnywhere)
{
    LogCollector log;
    PrepareEnvironment(Program().c_str());
    EXPECT_EQ(g_ImageFiles.GetCount(), 0);
    EXPECT_EQ(g_qwImgSize, 0u);
    EXPECT_TRUE(Contains(log.Messages(), "Found 0 images"));
}

TEST_F(PrepareEnvironmentTest, DefaultTargetsAndSystemFolders)
{
    PrepareEnvironment(Program().c_str());
    TxString sProgramFiles;
    QuerySpecialFolder(0x26, sProgramFiles);
    EXPECT_EQ(std::string(g_sDstDir.GetText()),
              std::string(sProgramFiles.GetText()) + "\\Quorvane");
    EXPECT_STREQ(g_sPrgFolderName.GetText(), "Quorvane");
    EXPECT_STREQ(g_sImgFolderName.GetText(), "Quorvane");
    std::string imgDst = g_sImgDstDir.GetText();
    EXPECT_EQ(imgDst.substr(imgDst.size() - 9), "\\Quorvane");
    EXPECT_FALSE(g_sWindowsDir.IsEmpty());
    EXPECT_FALSE(g_sSystemDir.IsEmpty());
}

TEST_F(PrepareEnvironmentTest, EarlierInstallFolderTakesOverAsStored)
{
    ASSERT_TRUE(RegistrySetString(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, "InstalledPrgDir",
                                  "Q:\\No\\Such\\Folder"));
    PrepareEnvironment(Program().c_str());
    EXPECT_STREQ(g_sDstDir.GetText(), "Q:\\No\\Such\\Folder");
}
