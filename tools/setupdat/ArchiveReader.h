#pragma once

#include "SetupDatFormat.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// Reads an archive's header and table with every bound checked, so that list,
// extract and verify can work on damaged archives without reading past them.
class ArchiveReader
{
public:
    // Throws ToolError when the file cannot be read, is shorter than the
    // header, has a foreign signature or a table that does not fit in it.
    explicit ArchiveReader(const std::filesystem::path& path);

    const SetupDatFileHeader& Header() const { return m_Header; }
    const std::vector<PackageFile>& Entries() const { return m_Entries; }
    std::uint64_t FileSize() const { return m_qwFileSize; }

    // The first entry the setup would find for sName (by its file-name
    // part, compared as SameNameForSetup does); null if none.
    const PackageFile* Find(const std::string& sName) const;

    // Empty if the entry's data can be extracted whole, else the reason.
    std::string BlockFault(const PackageFile& entry) const;

    // Copies the entry's data to out; throws ToolError if BlockFault is not empty.
    void CopyData(const PackageFile& entry, std::ostream& out);

private:
    void ReadHeader();
    void ReadTable();

    std::string m_sPath;
    std::ifstream m_File;
    std::uint64_t m_qwFileSize;
    SetupDatFileHeader m_Header;
    std::vector<PackageFile> m_Entries;
};
