#include "ArchiveReader.h"

#include "EntryName.h"
#include "PackInputs.h"
#include "ToolError.h"

namespace fs = std::filesystem;

ArchiveReader::ArchiveReader(const fs::path& path)
    : m_sPath(DisplayPath(path)), m_File(path, std::ios::binary), m_qwFileSize(0), m_Header()
{
    std::error_code ec;
    if (!m_File || !fs::is_regular_file(path, ec))
        throw ToolError(m_sPath + ": cannot open the archive");
    m_qwFileSize = fs::file_size(path);
    ReadHeader();
    ReadTable();
}

void ArchiveReader::ReadHeader()
{
    if (m_qwFileSize < SETUPDAT_HEADER_SIZE)
        throw ToolError(m_sPath + ": shorter than the " + std::to_string(SETUPDAT_HEADER_SIZE) +
                        "-byte header (" + std::to_string(m_qwFileSize) + " bytes)");
    if (!m_File.read(reinterpret_cast<char*>(&m_Header), sizeof(m_Header)))
        throw ToolError(m_sPath + ": cannot read the header");
    std::string sSignature(m_Header.Signature,
                           SetupDatFieldLength(m_Header.Signature, sizeof(m_Header.Signature)));
    if (!SameNameForSetup(sSignature, SETUPDAT_SIGNATURE))
        throw ToolError(m_sPath + ": invalid signature, not a setup archive");
}

void ArchiveReader::ReadTable()
{
    std::uint64_t qwTableEnd = SetupDatTableEnd(m_Header.FileCount);
    if (qwTableEnd > m_qwFileSize)
        throw ToolError(m_sPath + ": table of " + std::to_string(m_Header.FileCount) +
                        " entries ends at byte " + std::to_string(qwTableEnd) +
                        ", past the end of the archive (" + std::to_string(m_qwFileSize) +
                        " bytes)");
    m_Entries.resize(m_Header.FileCount);
    if (!m_File.read(reinterpret_cast<char*>(m_Entries.data()),
                     static_cast<std::streamsize>(m_Entries.size() * sizeof(PackageFile))))
        throw ToolError(m_sPath + ": cannot read the table");
}

const PackageFile* ArchiveReader::Find(const std::string& sName) const
{
    std::string sLookup = LookupName(sName);
    for (const PackageFile& entry : m_Entries)
    {
        if (SameNameForSetup(EntryName(entry), sLookup))
            return &entry;
    }
    return nullptr;
}

std::string ArchiveReader::BlockFault(const PackageFile& entry) const
{
    if (entry.SizeHigh != 0)
        return "size of 4 GiB or more; the setup would extract only its low 32 bits";
    std::uint64_t qwEnd = static_cast<std::uint64_t>(entry.DataOffset) + entry.SizeLow;
    if (qwEnd > m_qwFileSize)
        return "data block at " + std::to_string(entry.DataOffset) + " of " +
               std::to_string(entry.SizeLow) + " bytes ends past the end of the archive (" +
               std::to_string(m_qwFileSize) + " bytes)";
    return std::string();
}

void ArchiveReader::CopyData(const PackageFile& entry, std::ostream& out)
{
    std::string sFault = BlockFault(entry);
    if (!sFault.empty())
        throw ToolError(m_sPath + ": " + EntryName(entry) + ": " + sFault);
    m_File.clear();
    m_File.seekg(static_cast<std::streamoff>(entry.DataOffset));
    char buffer[65536];
    std::uint32_t dwLeft = entry.SizeLow;
    while (dwLeft > 0 && m_File)
    {
        std::uint32_t dwChunk = dwLeft < sizeof(buffer) ? dwLeft : sizeof(buffer);
        m_File.read(buffer, dwChunk);
        out.write(buffer, m_File.gcount());
        dwLeft -= static_cast<std::uint32_t>(m_File.gcount());
    }
    if (dwLeft != 0)
        throw ToolError(m_sPath + ": " + EntryName(entry) + ": read error");
}
