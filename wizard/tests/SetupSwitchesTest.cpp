#include "SetupSwitches.h"

#include "StringTables.h"
#include "UnattendedMessages.h"
#include "UnattendedSetup.h"

#include <gtest/gtest.h>

#include <string>
#include <windows.h>

namespace
{
// The parsed switches in one line, only what was set.
std::string Describe(const CSetupSwitches& s)
{
    std::string sText;
    auto add = [&](bool bSet, const std::string& sItem)
    {
        if (bSet)
            sText += (sText.empty() ? "" : " ") + sItem;
    };
    add(s.bSilent, "silent");
    add(s.bVerySilent, "verysilent");
    add(s.bSuppressMsgBoxes, "suppress");
    add(s.bHelp, "help");
    add(s.bRunManager, "runmanager");
    add(!s.sDir.IsEmpty(), std::string("dir=") + s.sDir.GetText());
    add(!s.sImageDir.IsEmpty(), std::string("imagedir=") + s.sImageDir.GetText());
    add(!s.sLanguage.IsEmpty(), std::string("lang=") + s.sLanguage.GetText());
    add(!s.sLogFile.IsEmpty(), std::string("log=") + s.sLogFile.GetText());
    add(s.iImages != SWITCH_NOT_GIVEN, "images=" + std::to_string(s.iImages));
    add(s.iStartMenu != SWITCH_NOT_GIVEN, "startmenu=" + std::to_string(s.iStartMenu));
    add(s.iDesktop != SWITCH_NOT_GIVEN, "desktop=" + std::to_string(s.iDesktop));
    return sText;
}

// "bad <switch>" for a refused line, else the description.
std::string Parse(const char* pszArguments)
{
    CSetupSwitches switches;
    TxString sBad;
    if (!ParseSetupSwitches(pszArguments, switches, sBad))
        return std::string("bad ") + sBad.GetText();
    return Describe(switches);
}
} // namespace

TEST(SetupSwitchesTest, ReadsEverySwitchAndRefusesBadOnes)
{
    struct Case
    {
        const char* pszArguments;
        const char* pszExpected;
    };
    const Case cases[] = {
        {"", ""},
        {"   ", ""},
        // Either prefix, any letter case, any order.
        {"/SILENT", "silent"},
        {"-verysilent /SuppressMsgBoxes", "verysilent suppress"},
        {"/S", "verysilent suppress"},
        {"/? ", "help"},
        {"-HELP", "help"},
        {"/RUNMANAGER /silent", "silent runmanager"},
        // Values: quoted whole or in part, blanks kept inside quotes.
        {"/DIR=\"C:\\Program Files\\Q\" /IMAGEDIR=D:\\Pics",
         "dir=C:\\Program Files\\Q imagedir=D:\\Pics"},
        {"\"/DIR=C:\\A B\"", "dir=C:\\A B"},
        {"/dir=\\\\server\\share\\Q", "dir=\\\\server\\share\\Q"},
        {"/IMAGES=none", "images=0"},
        {"/images=ALL", "images=-2"},
        {"/IMAGES=3", "images=3"},
        {"/STARTMENU=none /DESKTOP=user", "startmenu=0 desktop=1"},
        {"/startmenu=All", "startmenu=2"},
        {"/LANG=Deutsch /LOG=\"C:\\logs\\setup log.txt\"",
         "lang=Deutsch log=C:\\logs\\setup log.txt"},
        {"/LOG=setup.log", "log=setup.log"},
        // NSIS: /D= takes the rest of the line, blanks and all.
        {"/S /D=C:\\Program Files\\Quorvane",
         "verysilent suppress dir=C:\\Program Files\\Quorvane"},
        {"/d=C:\\Q /SILENT  ", "dir=C:\\Q /SILENT"},
        {"/D=\"C:\\Q\"", "dir=C:\\Q"},
        // The last of two wins.
        {"/DIR=C:\\A /DIR=C:\\B", "dir=C:\\B"},
        // Refused, named as written.
        {"/FOO", "bad /FOO"},
        {"SILENT", "bad SILENT"},
        {"/SILENT=1", "bad /SILENT=1"},
        {"/DIR", "bad /DIR"},
        {"/DIR=", "bad /DIR="},
        {"/DIR=\"\"", "bad /DIR="},
        {"/DIR=Quorvane", "bad /DIR=Quorvane"},
        {"/DIR=\\Quorvane", "bad /DIR=\\Quorvane"},
        {"/IMAGEDIR=C:Pics", "bad /IMAGEDIR=C:Pics"},
        {"/D=", "bad /D="},
        {"/D=Games", "bad /D=Games"},
        {"/IMAGES=many", "bad /IMAGES=many"},
        {"/IMAGES=-1", "bad /IMAGES=-1"},
        {"/IMAGES=0", "bad /IMAGES=0"},
        {"/IMAGES=99999999999", "bad /IMAGES=99999999999"},
        {"/STARTMENU=some", "bad /STARTMENU=some"},
        {"/LANG=", "bad /LANG="},
        {"/LOG=", "bad /LOG="},
        // The first bad switch is named.
        {"/X /Y", "bad /X"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Parse(c.pszArguments), c.pszExpected) << c.pszArguments;
}

TEST(SetupSwitchesTest, ReadsEverySwitchEvenAfterABadOne)
{
    CSetupSwitches switches;
    TxString sBad;
    EXPECT_FALSE(ParseSetupSwitches("/IMAGES=many /S", switches, sBad));
    EXPECT_STREQ(sBad.GetText(), "/IMAGES=many");
    // So that the message about it is suppressed.
    EXPECT_TRUE(switches.bSuppressMsgBoxes);
    EXPECT_TRUE(switches.bAny);
}

TEST(SetupSwitchesTest, ChoicesAreTheWizardsDefaultsWhereNoSwitchSaysOtherwise)
{
    struct Case
    {
        const char* pszArguments;
        int iImageCount;
        bool bNt;
        ImageChoice images;
        int iRandomCount, iStartMenu, iDesktop;
    };
    const Case cases[] = {
        {"", 6, true, IMAGES_RANDOM, 6, 2, 0},
        {"", 6, false, IMAGES_RANDOM, 6, 1, 0},
        {"/IMAGES=2", 6, true, IMAGES_RANDOM, 2, 2, 0},
        // Held at M as the count field holds it.
        {"/IMAGES=10", 6, true, IMAGES_RANDOM, 6, 2, 0},
        {"/IMAGES=all /STARTMENU=none /DESKTOP=all", 6, true, IMAGES_ALL, 6, 0, 2},
        {"/IMAGES=none /STARTMENU=user", 6, true, IMAGES_NONE, 6, 1, 0},
        // 9x has one Start menu and one desktop.
        {"/STARTMENU=all /DESKTOP=all", 6, false, IMAGES_RANDOM, 6, 1, 1},
    };
    for (const Case& c : cases)
    {
        CSetupSwitches switches;
        TxString sBad;
        ASSERT_TRUE(ParseSetupSwitches(c.pszArguments, switches, sBad)) << c.pszArguments;
        UnattendedChoices choices = ChoicesFromSwitches(switches, c.iImageCount, c.bNt);
        EXPECT_EQ(choices.images, c.images) << c.pszArguments;
        EXPECT_EQ(choices.iRandomCount, c.iRandomCount) << c.pszArguments;
        EXPECT_EQ(choices.iStartMenu, c.iStartMenu) << c.pszArguments;
        EXPECT_EQ(choices.iDesktop, c.iDesktop) << c.pszArguments;
    }
}

TEST(SetupSwitchesTest, BoxesNotShownGetTheTablesAnswerElseTheirDefaultButton)
{
    SetDefaultTexts();
    // The refusals end the run; Stop is never asked, but would stop.
    EXPECT_EQ(SilentAnswer("Insufficient rights", MB_OK | MB_ICONEXCLAMATION), IDOK);
    EXPECT_EQ(SilentAnswer("Stop Requested", MB_YESNO | MB_DEFBUTTON2), IDYES);
    // A question of no table entry: its default button.
    EXPECT_EQ(SilentAnswer("Other", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(SilentAnswer("Other", MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(SilentAnswer("Other", MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
}
