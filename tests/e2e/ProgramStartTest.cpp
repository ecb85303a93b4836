// The setup's start of its programs as the user, by the first route: with
// the desktop shell's token. Under Wine the shell's window belongs to Wine's
// explorer, so this calls that route directly, from the driver's process;
// InstallTest and UninstallTest show it from the elevated setup.
#include "ChildProcess.h"
#include "E2eFiles.h"
#include "InstallExpectations.h"
#include "MessagePump.h"
#include "ProgramStart.h"

#include <gtest/gtest.h>

TEST(ProgramStart, ShellTokenStartRunsTheProgramInItsFolderWithItsPathQuoted)
{
    struct Case
    {
        const char* pszProgram;
        const char* pszArguments;
        const char* pszCommandTail;
    };
    TempFolder work("qve2e-start-");
    // A blank in the folder: unquoted, the system would first try "Program".
    std::string sFolder = work / "Program Folder";
    ASSERT_TRUE(MakeFolders(sFolder));
    for (const Case& c : {Case{"QvManag.exe", nullptr, ""}, Case{"QvAgent.exe", "/r", " /r"}})
    {
        SCOPED_TRACE(c.pszProgram);
        std::string sProgram = JoinPath(sFolder, c.pszProgram);
        ASSERT_TRUE(CopyOneFile(ProgramsPath(std::string("media\\standins\\bin\\") + c.pszProgram),
                                sProgram));
        ASSERT_TRUE(StartWithShellToken(sProgram.c_str(), c.pszArguments));
        std::vector<DWORD> started;
        ASSERT_TRUE(WaitUntil([&] { return !(started = ProcessesOf(sProgram)).empty(); }, 10000));
        ExpectStartedInItsFolder(started[0], sProgram);
        EXPECT_EQ(ProcessCommandLine(started[0]), "\"" + sProgram + "\"" + c.pszCommandTail);
        KillProcessesOf(sProgram);
    }
    EXPECT_FALSE(StartWithShellToken(JoinPath(sFolder, "Missing.exe").c_str(), nullptr));
}
