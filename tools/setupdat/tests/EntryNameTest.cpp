#include "EntryName.h"
#include "ToolError.h"

#include <cstring>
#include <gtest/gtest.h>

TEST(EntryName, CheckRefusesWhatTheSetupCouldNotFindOrCreate)
{
    struct Case
    {
        std::string sName;
        bool bAccepted;
    };
    const Case cases[] = {
        {"QvAgent.exe", true},
        {"With space (1).txt", true},
        {std::string(95, 'n'), true},
        {std::string(96, 'n'), false},
        {"", false},
        {"a\\b.txt", false},
        {"a:b.txt", false},
        {"what?.txt", false},
        {"tab\t.txt", false},
        {"caf\xC3\xA9.txt", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckEntryName(c.sName).empty(), c.bAccepted) << c.sName;
}

TEST(EntryName, LookupTakesThePartAfterTheLastBackslashElseSlash)
{
    const std::pair<const char*, const char*> cases[] = {
        {"QvApi.dll", "QvApi.dll"},
        {"D:\\CD\\QvApi.dll", "QvApi.dll"},
        {"media/Textures/Texture001.bmp", "Texture001.bmp"},
        {"a\\b/c.txt", "b/c.txt"},
        {"folder\\", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LookupName(c.first), c.second) << c.first;
}

TEST(EntryName, NameFieldWithoutZeroIsTakenWhole)
{
    PackageFile entry = {};
    std::memset(entry.Name, 'x', sizeof(entry.Name));
    entry.Attributes = 0x41414141; // would show up if the name ran on
    EXPECT_EQ(EntryName(entry), std::string(96, 'x'));
}

TEST(EntryName, SameNameForSetupFollowsTheSetupsComparison)
{
    EXPECT_TRUE(SameNameForSetup("QvApi.dll", "QVAPI.DLL"));
    EXPECT_FALSE(SameNameForSetup("Setup.ini", "Setup.in"));
    // Archives made elsewhere: equal to the locale-aware comparison at
    // another byte length.
    for (const char* pszForeign : {"Stra\xDF"
                                   "e.txt",
                                   "Stras\xADse.txt"})
    {
#ifdef _WIN32
        EXPECT_TRUE(SameNameForSetup(pszForeign, "Strasse.txt")) << pszForeign;
#else
        EXPECT_THROW(SameNameForSetup(pszForeign, "Strasse.txt"), ToolError) << pszForeign;
#endif
    }
}
