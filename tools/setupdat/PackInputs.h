#pragma once

#include "FileStamp.h"

#include <filesystem>
#include <string>
#include <vector>

// One file to be stored: where it is read from and the name it gets.
struct PackInput
{
    std::filesystem::path source;
    std::string sName;
    FileStamp stamp;
};

// Expands the FILE and FOLDER arguments of "pack" into the archive's entries,
// sorted by name with letter case ignored, so that the archive does not depend
// on the order of the arguments or of a directory listing. A folder gives every
// regular file below it, subfolders included, under its bare file name: the
// setup looks entries up by file name only. The archive being written
// (archivePath) is never taken in. Throws ToolError naming the offending file
// for a name that cannot be stored, two names that differ only in letter case
// and a file of 4 GiB or more.
std::vector<PackInput> CollectPackInputs(const std::vector<std::string>& args,
                                         const std::filesystem::path& archivePath);

// A path as UTF-8 text for messages.
std::string DisplayPath(const std::filesystem::path& path);
