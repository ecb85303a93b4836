#include "TestMedium.h"

#include "ArchiveWriter.h"
#include "EngineTestSupport.h"
#include "FileStamp.h"
#include "PackInputs.h"
#include "TxHandles.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <windows.h>

unsigned long long TestFileTime(int i)
{
    // 2004-03-05 09:07 UTC plus i minutes.
    return 127229380200000000ull + static_cast<unsigned long long>(i) * 600000000ull;
}

TestArchive PlanArchive()
{
    const char* apszNames[] = {"QvAgent.exe",  "QvApi.dll",     "QvManag.exe",  "QvLang.dat",
                               "QvImage.dll",  "Uninstall.exe", "Quorvane.scr", "License.html",
                               "Quorvane.chm", "ReadMe.html"};
    TestArchive archive;
    int i = 0;
    for (const char* pszName : apszNames)
        archive[pszName] = {std::string("content of ") + pszName, TestFileTime(i++)};
    for (int t = 1; t <= 20; ++t)
    {
        char szName[32];
        std::snprintf(szName, sizeof(szName), "Texture%.3d.bmp", t);
        archive[szName] = {std::string("BM texture ") + szName, TestFileTime(i++)};
    }
    return archive;
}

void WriteTestArchive(const std::string& path, const TestArchive& entries)
{
    TempFolder staging;
    for (const auto& [name, entry] : entries)
    {
        std::string file = staging / name;
        WriteWholeFile(file, entry.content);
        FileStamp stamp;
        stamp.ftCreation = {static_cast<std::uint32_t>(entry.qwWriteTime),
                            static_cast<std::uint32_t>(entry.qwWriteTime >> 32)};
        stamp.ftLastAccess = stamp.ftCreation;
        stamp.ftLastWrite = stamp.ftCreation;
        std::string sError;
        EXPECT_TRUE(ApplyFileTimes(file, stamp, sError)) << file << ": " << sError;
    }
    WriteArchive(path, CollectPackInputs({staging.Path()}, path));
}

void TruncateFile(const std::string& path, unsigned cbCut)
{
    TxFileHandle hFile(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    DWORD dwSize = GetFileSize(hFile.Get(), nullptr);
    SetFilePointer(hFile.Get(), static_cast<LONG>(dwSize - cbCut), nullptr, FILE_BEGIN);
    EXPECT_TRUE(SetEndOfFile(hFile.Get())) << path;
}
