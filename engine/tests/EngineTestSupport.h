#pragma once

// The library's test support (temp folders, the log collector, whole-file I/O)
// with the few helpers the engine tests add.
#include "LogCollector.h"
#include "TestSupport.h"

#include <algorithm>
#include <string>
#include <vector>

inline bool Contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}
