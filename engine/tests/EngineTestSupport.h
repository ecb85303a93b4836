#pragma once

// The library's test support (temp folders, log capture, whole-file I/O)
// with the few helpers the engine tests add.
#include "TestSupport.h"

#include <algorithm>
#include <string>
#include <vector>

// folder / "name": the path of an entry in a test folder.
inline std::string operator/(const TempFolder& folder, const std::string& name)
{
    return folder.Child(name);
}

inline void WriteTextFile(const std::string& path, const std::string& content)
{
    WriteWholeFile(path, content);
}

inline bool PathExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline bool Contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Deletes a folder tree, clearing read-only attributes on the way.
void DeleteTree(const std::string& path);
