#pragma once

#include <map>
#include <string>

// A setup medium made for a test: "Setup.dat" with the given entries and
// optional images, all with fixed file times.
struct TestArchiveEntry
{
    std::string content;
    unsigned long long qwWriteTime;
    // Bytes of the data block actually present (for damaged archives);
    // -1 means all of them.
    long long llStoredBytes = -1;
};

using TestArchive = std::map<std::string, TestArchiveEntry>;

// The 30 plan files with small distinct contents and times.
TestArchive PlanArchive();
// Writes an archive file; entries in the map's order.
void WriteTestArchive(const std::string& path, const TestArchive& entries);
// The fixed write time given to entry number i.
unsigned long long TestFileTime(int i);
