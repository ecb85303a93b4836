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

TEST(TxPaths, ClearReadOnlyLeavesOtherAttributes)
{
    char szTemp[MAX_PATH];
    ASSERT_NE(GetTempPathA(MAX_PATH, szTemp), 0u);
    TxString sFile = TxJoinPath(szTemp, "qv_readonly_test.txt");
    HANDLE h = CreateFileA(sFile.GetText(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    EXPECT_TRUE(TxClearReadOnly(sFile.GetText()));
    EXPECT_EQ(GetFileAttributesA(sFile.GetText()) &
                  (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_TRUE(TxClearReadOnly("C:\\no such folder\\no such file"));
    DeleteFileA(sFile.GetText());
}
