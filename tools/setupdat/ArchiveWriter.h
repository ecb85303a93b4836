#pragma once

#include "PackInputs.h"
#include "SetupDatFormat.h"

#include <filesystem>
#include <vector>

// Header and table of an archive: entries in the inputs' order, data blocks
// one after the other directly behind the table, reserved fields zero.
struct ArchiveLayout
{
    SetupDatFileHeader header;
    std::vector<PackageFile> table;
};

// Throws ToolError when the archive would reach 4 GiB (offsets are 32-bit).
ArchiveLayout BuildLayout(const std::vector<PackInput>& inputs);

// Writes the archive; on failure no partial archive is left behind.
void WriteArchive(const std::filesystem::path& archivePath, const std::vector<PackInput>& inputs);
