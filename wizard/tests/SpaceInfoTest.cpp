#include "SpaceInfo.h"

#include "StringTables.h"
#include "WizardCaption.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
std::vector<std::string> g_Queried;

unsigned long long FakeFreeBytes(const char* pszDrive)
{
    g_Queried.push_back(pszDrive);
    return 3ull * 1024 * 1024;
}

class SpaceInfoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetDefaultTexts();
        g_Queried.clear();
    }
};
} // namespace

TEST_F(SpaceInfoTest, DrivePartOfFolderTexts)
{
    struct Case
    {
        const char* pszPath;
        const char* pszDrive;
    };
    const Case cases[] = {
        {"C:\\Program Files\\Quorvane", "C:"},
        {"d:\\", "d:"},
        {"C:", "C:"},
        {"\\\\server\\share\\Quorvane", "\\"},
        {"Quorvane\\Images", "Quorvane\\"},
        {"Quorvane", "Quorvane"},
        {"", ""},
        {"x\\y:z", "x\\y:"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(DrivePart(c.pszPath).GetText(), c.pszDrive) << c.pszPath;
}

TEST_F(SpaceInfoTest, ReadsAgainOnlyWhenTheDriveTextChanges)
{
    CDriveSpace space(FakeFreeBytes);
    EXPECT_TRUE(space.Refresh("C:\\Program Files\\Quorvane"));
    EXPECT_FALSE(space.Refresh("C:\\Program Files\\Quorvane2"));
    EXPECT_FALSE(space.Refresh("C:"));
    // Letter case counts.
    EXPECT_TRUE(space.Refresh("c:\\Program Files"));
    EXPECT_TRUE(space.Refresh("D:\\"));
    EXPECT_EQ(g_Queried, (std::vector<std::string>{"C:", "c:", "D:"}));
    EXPECT_STREQ(space.LastDrive().GetText(), "D:");
    EXPECT_EQ(space.FreeBytes(), 3ull * 1024 * 1024);
}

TEST_F(SpaceInfoTest, ResetReadsOncePerShowingEvenForAnEmptyText)
{
    CDriveSpace space(FakeFreeBytes);
    EXPECT_TRUE(space.Refresh(""));
    EXPECT_FALSE(space.Refresh(""));
    space.Reset();
    EXPECT_TRUE(space.Refresh(""));
    space.Reset();
    EXPECT_TRUE(space.Refresh("E:\\Images"));
    EXPECT_EQ(g_Queried, (std::vector<std::string>{"", "", "E:"}));
}

TEST_F(SpaceInfoTest, FreeSpaceOfRealDrives)
{
    EXPECT_EQ(FreeBytesOnDrive("Q:\\no\\such\\drive"), 0u);
    EXPECT_GT(FreeBytesOnDrive("C:"), 0u);
    // An empty folder text cannot be measured; Start reports it instead.
    EXPECT_EQ(FreeBytesOnDrive(""), FREE_SPACE_UNKNOWN);
}

TEST_F(SpaceInfoTest, FreeSpaceLines)
{
    EXPECT_STREQ(ProgramSpaceText("C:", 3ull * 1024 * 1024, 512).GetText(),
                 "On C: is 3.00 MB free space. The space required by this program is 512 B.");
    EXPECT_STREQ(ImageSpaceText("D:", 0).GetText(), "On D: is 0 B free space.");
    EXPECT_STREQ(ImageSpaceText("", FREE_SPACE_UNKNOWN).GetText(), "");
    EXPECT_STREQ(ProgramSpaceText("", FREE_SPACE_UNKNOWN, 512).GetText(), "");
}

TEST_F(SpaceInfoTest, TranslatedFormatCannotReadStrayArguments)
{
    TxString sSaved = gls_FreeSpaceSS;
    gls_FreeSpaceSS = "%s %s %s %n %d";
    EXPECT_STREQ(ImageSpaceText("D:", 2048).GetText(), "D: 2.00 kB  %n ");
    gls_FreeSpaceSS = sSaved;
}

TEST_F(SpaceInfoTest, CaptionCarriesTheVersion)
{
    EXPECT_STREQ(WizardCaption().GetText(), "Quorvane 1.04 Setup");
}
