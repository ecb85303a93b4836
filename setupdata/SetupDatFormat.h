#pragma once

// On-disk layout of the setup archive "Setup.dat", shared by the setup's
// reader and the archive tool so that the two cannot drift apart. Builds on
// Windows and on Linux: fixed-width integers only, no windows.h.

#include <cstddef>
#include <cstdint>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "the archive is read and written by plain copies of these structs");

constexpr char SETUPDAT_SIGNATURE[] = "Quorvane Setup File";
constexpr std::size_t SETUPDAT_SIGNATURE_SIZE = 36;
constexpr std::size_t SETUPDAT_NAME_SIZE = 96;

// A Windows FILETIME: 100-nanosecond intervals since 1601-01-01 UTC.
struct SetupDatFileTime
{
    std::uint32_t dwLowDateTime;
    std::uint32_t dwHighDateTime;
};

struct SetupDatFileHeader
{
    char Signature[SETUPDAT_SIGNATURE_SIZE];
    std::uint32_t FileCount;
    std::uint32_t Reserved[8];
};

struct PackageFile
{
    // Ended by a zero byte unless all 96 bytes are used.
    char Name[SETUPDAT_NAME_SIZE];
    std::uint32_t Attributes;
    std::uint32_t Reserved0;
    SetupDatFileTime CreationTime;
    SetupDatFileTime LastAccessTime;
    SetupDatFileTime LastWriteTime;
    std::uint32_t SizeLow;
    std::uint32_t SizeHigh;
    std::uint32_t DataOffset;
    std::uint32_t Reserved[9];
};

static_assert(sizeof(SetupDatFileTime) == 8, "FILETIME layout");
static_assert(sizeof(SetupDatFileHeader) == 72, "header layout");
static_assert(offsetof(SetupDatFileHeader, FileCount) == 36, "header layout");
static_assert(sizeof(PackageFile) == 176, "table entry layout");
static_assert(offsetof(PackageFile, Attributes) == 96, "table entry layout");
static_assert(offsetof(PackageFile, CreationTime) == 104, "table entry layout");
static_assert(offsetof(PackageFile, LastAccessTime) == 112, "table entry layout");
static_assert(offsetof(PackageFile, LastWriteTime) == 120, "table entry layout");
static_assert(offsetof(PackageFile, SizeLow) == 128, "table entry layout");
static_assert(offsetof(PackageFile, DataOffset) == 136, "table entry layout");

constexpr std::uint32_t SETUPDAT_HEADER_SIZE = sizeof(SetupDatFileHeader);
constexpr std::uint32_t SETUPDAT_ENTRY_SIZE = sizeof(PackageFile);

// Length of a fixed-size text field: up to its first zero byte, at most the
// field's size, so that a field without a zero is never read past.
inline std::size_t SetupDatFieldLength(const char* pField, std::size_t cbField)
{
    std::size_t n = 0;
    while (n < cbField && pField[n] != 0)
        ++n;
    return n;
}

// Bytes from the start of the archive to the end of a table of dwCount
// entries, in 64 bits so that no count can wrap around.
constexpr std::uint64_t SetupDatTableEnd(std::uint32_t dwCount)
{
    return SETUPDAT_HEADER_SIZE + static_cast<std::uint64_t>(dwCount) * SETUPDAT_ENTRY_SIZE;
}
