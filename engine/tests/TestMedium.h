#pragma once

#include <map>
#include <string>

// A setup archive made for a test with the archive tool's own writer: every
// entry's content with a fixed write time.
struct TestArchiveEntry
{
    std::string content;
    unsigned long long qwWriteTime;
};

using TestArchive = std::map<std::string, TestArchiveEntry>;

// The 30 plan files with small distinct contents and times.
TestArchive PlanArchive();
// Packs the entries into an archive at path, as "setupdat pack" does.
void WriteTestArchive(const std::string& path, const TestArchive& entries);
// Cuts the last cbCut bytes off a file: the archive's last data block, the
// entry whose name sorts last, then reaches past its end.
void TruncateFile(const std::string& path, unsigned cbCut);
// The fixed write time given to entry number i.
unsigned long long TestFileTime(int i);
