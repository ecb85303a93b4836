#include "DllSearch.h"

#include <gtest/gtest.h>

#include <string>
#include <windows.h>

// Where the system folder restriction is missing, each late-loaded DLL the
// system has must be in memory from the system folder before anything
// loads it by name.
TEST(DllSearch, FallbackLoadsTheLateDllsFromTheSystemFolder)
{
    PreloadLateLoadedDlls();
    char szSystem[MAX_PATH];
    UINT n = GetSystemDirectoryA(szSystem, MAX_PATH);
    ASSERT_TRUE(n > 0 && n < MAX_PATH);
    size_t nCount = 0;
    const char* const* ppszNames = LateLoadedDlls(nCount);
    ASSERT_GT(nCount, 0u);
    int iPresent = 0;
    for (size_t i = 0; i < nCount; ++i)
    {
        std::string sPath = std::string(szSystem) + "\\" + ppszNames[i];
        if (GetFileAttributesA(sPath.c_str()) == INVALID_FILE_ATTRIBUTES)
            continue;
        ++iPresent;
        HMODULE hModule = GetModuleHandleA(ppszNames[i]);
        ASSERT_NE(hModule, nullptr) << ppszNames[i];
        char szLoaded[MAX_PATH];
        ASSERT_GT(GetModuleFileNameA(hModule, szLoaded, MAX_PATH), 0u);
        EXPECT_EQ(lstrcmpiA(szLoaded, sPath.c_str()), 0) << szLoaded;
    }
    EXPECT_GT(iPresent, 0);
}
