#include "ArchiveWriter.h"

#include "ToolError.h"

#include <cstring>
#include <fstream>

namespace fs = std::filesystem;

namespace
{
constexpr std::uint64_t MAX_ARCHIVE_SIZE = 0xFFFFFFFFull;

PackageFile MakeEntry(const PackInput& input, std::uint32_t dwOffset)
{
    PackageFile entry = {};
    std::memcpy(entry.Name, input.sName.data(), input.sName.size());
    entry.Attributes = input.stamp.dwAttributes;
    entry.CreationTime = input.stamp.ftCreation;
    entry.LastAccessTime = input.stamp.ftLastAccess;
    entry.LastWriteTime = input.stamp.ftLastWrite;
    entry.SizeLow = static_cast<std::uint32_t>(input.stamp.qwSize);
    entry.SizeHigh = static_cast<std::uint32_t>(input.stamp.qwSize >> 32);
    entry.DataOffset = dwOffset;
    return entry;
}

void CopyBlock(const PackInput& input, std::ofstream& out)
{
    std::ifstream in(input.source, std::ios::binary);
    if (!in)
        throw ToolError(DisplayPath(input.source) + ": cannot open for reading");
    char buffer[65536];
    std::uint64_t qwCopied = 0;
    while (in)
    {
        in.read(buffer, sizeof(buffer));
        std::streamsize n = in.gcount();
        out.write(buffer, n);
        qwCopied += static_cast<std::uint64_t>(n);
    }
    if (in.bad())
        throw ToolError(DisplayPath(input.source) + ": read error");
    // The table already holds the size seen when the inputs were collected.
    if (qwCopied != input.stamp.qwSize)
        throw ToolError(DisplayPath(input.source) + ": file changed while packing");
}

void WriteAll(const fs::path& archivePath, const ArchiveLayout& layout,
              const std::vector<PackInput>& inputs)
{
    std::ofstream out(archivePath, std::ios::binary | std::ios::trunc);
    if (!out)
        throw ToolError(DisplayPath(archivePath) + ": cannot create");
    out.write(reinterpret_cast<const char*>(&layout.header), sizeof(layout.header));
    out.write(reinterpret_cast<const char*>(layout.table.data()),
              static_cast<std::streamsize>(layout.table.size() * sizeof(PackageFile)));
    for (const PackInput& input : inputs)
        CopyBlock(input, out);
    out.close();
    if (!out)
        throw ToolError(DisplayPath(archivePath) + ": write error");
}
} // namespace

ArchiveLayout BuildLayout(const std::vector<PackInput>& inputs)
{
    ArchiveLayout layout = {};
    std::memcpy(layout.header.Signature, SETUPDAT_SIGNATURE, sizeof(SETUPDAT_SIGNATURE));
    if (inputs.size() > (MAX_ARCHIVE_SIZE - SETUPDAT_HEADER_SIZE) / SETUPDAT_ENTRY_SIZE)
        throw ToolError("too many files for one archive");
    layout.header.FileCount = static_cast<std::uint32_t>(inputs.size());
    std::uint64_t qwOffset = SetupDatTableEnd(layout.header.FileCount);
    for (const PackInput& input : inputs)
    {
        if (qwOffset + input.stamp.qwSize > MAX_ARCHIVE_SIZE)
            throw ToolError(DisplayPath(input.source) +
                            ": the archive would reach 4 GiB, which its 32-bit offsets cannot "
                            "address");
        layout.table.push_back(MakeEntry(input, static_cast<std::uint32_t>(qwOffset)));
        qwOffset += input.stamp.qwSize;
    }
    return layout;
}

void WriteArchive(const fs::path& archivePath, const std::vector<PackInput>& inputs)
{
    ArchiveLayout layout = BuildLayout(inputs);
    try
    {
        WriteAll(archivePath, layout, inputs);
    }
    catch (...)
    {
        std::error_code ec;
        fs::remove(archivePath, ec);
        throw;
    }
}
