// What keeps the stand-ins' privileged parts to their owners: the agent's
// event and the uninstaller's temporary copy. Wine keeps no ACLs, so the
// descriptors are checked as the code builds them.
#include "AgentCloseRequest.h"
#include "SelfCopy.h"
#include "StandInTestSupport.h"
#include "TxSecurity.h"

#include <gtest/gtest.h>

#include <cctype>

TEST(StandInAgent, OnlyItsUserAndAdministratorsMayOpenItsEvent)
{
    TxString sUser;
    ASSERT_TRUE(TxProcessUserSid(sUser));
    TxLocalMem descriptor;
    ASSERT_TRUE(MakeAgentEventSecurity(descriptor));
    bool bProtected = false;
    std::vector<DaclEntry> expected = {
        {sUser.GetText(), ACCESS_ALLOWED_ACE_TYPE, 0, EVENT_ALL_ACCESS},
        {"S-1-5-32-544", ACCESS_ALLOWED_ACE_TYPE, 0, EVENT_ALL_ACCESS},
        {"S-1-5-18", ACCESS_ALLOWED_ACE_TYPE, 0, EVENT_ALL_ACCESS},
    };
    EXPECT_EQ(DaclEntries(descriptor.Get(), bProtected), expected);
}

TEST(StandInUninstaller, TemporaryCopyIsUnforeseeableAndStartsOnlyUnchanged)
{
    char szWindows[MAX_PATH + 1] = "";
    ASSERT_NE(GetSystemWindowsDirectoryA(szWindows, MAX_PATH), 0u);
    const std::string sParent = std::string(szWindows) + "\\Temp\\";
    // The screen saver ends at once with /c: a program that does nothing.
    const std::string sOriginal = BesideTest("Quorvane.scr");
    TemporaryCopy changed;
    TemporaryCopy unchanged;
    ASSERT_TRUE(changed.Make(sOriginal.c_str()));
    ASSERT_TRUE(unchanged.Make(sOriginal.c_str()));
    for (const TemporaryCopy* pCopy : {&changed, &unchanged})
    {
        std::string sFolder = pCopy->Folder();
        ASSERT_EQ(_stricmp(sFolder.substr(0, sParent.size()).c_str(), sParent.c_str()), 0)
            << sFolder;
        std::string sName = sFolder.substr(sParent.size());
        EXPECT_EQ(sName.rfind(COPY_FOLDER_PREFIX, 0), 0u) << sName;
        EXPECT_EQ(sName.size(), sizeof(COPY_FOLDER_PREFIX) - 1 + 16) << sName;
        for (size_t i = sizeof(COPY_FOLDER_PREFIX) - 1; i < sName.size(); ++i)
            EXPECT_TRUE(std::isxdigit(static_cast<unsigned char>(sName[i]))) << sName;
        EXPECT_EQ(ReadWholeFile(pCopy->Path()), ReadWholeFile(sOriginal));
    }
    EXPECT_NE(changed.Folder(), unchanged.Folder());

    // Here the test changes the copy, as only an administrator could.
    ASSERT_TRUE(WriteWholeFile(changed.Path(), ReadWholeFile(sOriginal) + "planted"));
    EXPECT_FALSE(changed.Start("/c", false));
    EXPECT_TRUE(unchanged.Start("/c", false));
    changed.Discard();
    // The started copy ends at once; its file goes once it has.
    for (int i = 0; i < 100 && PathExists(unchanged.Folder()); ++i)
    {
        unchanged.Discard();
        Sleep(50);
    }
    EXPECT_FALSE(PathExists(changed.Folder()));
    EXPECT_FALSE(PathExists(unchanged.Folder()));
}
