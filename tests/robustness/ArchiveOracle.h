#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What a correct reader must conclude from the bytes of an archive, read
// straight from the layout (offsets counted here, not taken from the
// product's reader): whether it opens, and its entries in table order.
struct OracleEntry
{
    std::string sName;
    std::uint32_t dwAttributes;
    std::uint64_t qwCreation;
    std::uint64_t qwLastAccess;
    std::uint64_t qwLastWrite;
    std::uint32_t dwSize;
    std::uint32_t dwSizeHigh;
    std::uint32_t dwOffset;
};

struct ArchiveOracle
{
    bool bOpens = false;
    std::vector<OracleEntry> entries;
};

ArchiveOracle ReadArchiveOracle(const std::string& sBytes);

// The first entry in table order whose name the locale-aware comparison
// (CompareStringA, user default locale, letter case ignored) finds equal to
// the file-name part of sName; null when none is.
const OracleEntry* OracleLookup(const ArchiveOracle& o, const std::string& sName);

// Whether the entry's block lies wholly inside an archive of cbArchive bytes.
bool BlockFits(const OracleEntry& e, std::size_t cbArchive);

// A whole file's bytes; false when it cannot be opened.
bool ReadWhole(const std::string& sPath, std::string& sData);
