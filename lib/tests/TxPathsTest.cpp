#include "TxPaths.h"

#include <gtest/gtest.h>

TEST(TxPaths, JoinAddsOneSeparatorOnlyWhereNeeded)
{
    const struct
    {
        const char* pszFolder;
        const char* pszName;
        const char* pszJoined;
    } cases[] = {
        {"C:\\Games", "Quorvane", "C:\\Games\\Quorvane"},
        {"C:\\Games\\", "Quorvane", "C:\\Games\\Quorvane"},
        {"C:\\Games/", "Quorvane", "C:\\Games/Quorvane"},
        {"C:\\", "", "C:\\"},
        {"", "Quorvane", "\\Quorvane"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(TxJoinPath(c.pszFolder, c.pszName).GetText(), c.pszJoined) << c.pszFolder;
}

TEST(TxPaths, ProgramFolderHoldsTheProgram)
{
    TxString sPath = TxProgramPath();
    TxString sFolder = TxProgramFolder();
    ASSERT_FALSE(sFolder.IsEmpty());
    TxString sStart;
    sPath.SubString(1, sFolder.Length() + 1, sStart);
    EXPECT_STREQ(TxJoinPath(sFolder.GetText(), "").GetText(), sStart.GetText());
    EXPECT_NE(GetFileAttributesA(sPath.GetText()), INVALID_FILE_ATTRIBUTES);
}
