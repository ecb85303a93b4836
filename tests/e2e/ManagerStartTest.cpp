// The setup's own start of the manager, taken where no desktop shell
// answers. Under Wine the shell answers the setup (the 32-bit one not
// always), so this calls that way directly, from the driver's process.
#include "ChildProcess.h"
#include "E2eFiles.h"
#include "InstallExpectations.h"
#include "ManagerStart.h"
#include "MessagePump.h"

#include <gtest/gtest.h>

TEST(ManagerStart, DirectStartRunsTheProgramInItsFolderWithItsPathQuoted)
{
    TempFolder work("qve2e-start-");
    // A blank in the folder: unquoted, the system would first try "Program".
    std::string sFolder = work / "Program Folder";
    std::string sManager = JoinPath(sFolder, "QvManag.exe");
    ASSERT_TRUE(MakeFolders(sFolder));
    ASSERT_TRUE(CopyOneFile(ProgramsPath("media\\standins\\bin\\QvManag.exe"), sManager));
    ASSERT_TRUE(StartProgramDirectly(sManager.c_str()));
    std::vector<DWORD> managers;
    ASSERT_TRUE(WaitUntil([&] { return !(managers = ProcessesOf(sManager)).empty(); }, 10000));
    ExpectStartedInItsFolder(managers[0], sManager);
    KillProcessesOf(sManager);
    EXPECT_FALSE(StartProgramDirectly(JoinPath(sFolder, "Missing.exe").c_str()));
}
