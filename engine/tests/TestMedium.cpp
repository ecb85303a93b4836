#include "TestMedium.h"

#include "SetupDatFormat.h"

#include <cstdio>
#include <cstring>
#include <vector>
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
    SetupDatFileHeader header = {};
    std::memcpy(header.Signature, SETUPDAT_SIGNATURE, sizeof(SETUPDAT_SIGNATURE));
    header.FileCount = static_cast<uint32_t>(entries.size());
    std::vector<PackageFile> table(entries.size());
    std::string data;
    uint32_t dwOffset = static_cast<uint32_t>(SetupDatTableEnd(header.FileCount));
    size_t i = 0;
    for (const auto& [name, entry] : entries)
    {
        PackageFile& file = table[i++];
        file = PackageFile();
        std::strncpy(file.Name, name.c_str(), sizeof(file.Name));
        file.Attributes = FILE_ATTRIBUTE_ARCHIVE;
        SetupDatFileTime ft = {static_cast<uint32_t>(entry.qwWriteTime),
                               static_cast<uint32_t>(entry.qwWriteTime >> 32)};
        file.CreationTime = ft;
        file.LastAccessTime = ft;
        file.LastWriteTime = ft;
        file.SizeLow = static_cast<uint32_t>(entry.content.size());
        file.DataOffset = dwOffset + static_cast<uint32_t>(data.size());
        size_t cbStored = entry.llStoredBytes < 0 ? entry.content.size()
                                                  : static_cast<size_t>(entry.llStoredBytes);
        data += entry.content.substr(0, cbStored);
    }
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD dw = 0;
    WriteFile(h, &header, sizeof(header), &dw, nullptr);
    if (!table.empty())
        WriteFile(h, table.data(), static_cast<DWORD>(table.size() * sizeof(PackageFile)), &dw,
                  nullptr);
    WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &dw, nullptr);
    CloseHandle(h);
}
