#include "PeImage.h"

#include "ToolError.h"

namespace
{
constexpr std::uint16_t PE32_MAGIC = 0x10b;
constexpr std::uint16_t PE32_PLUS_MAGIC = 0x20b;
constexpr std::uint32_t DIRECTORY_RESOURCE = 2;
constexpr std::uint32_t DIRECTORY_SECURITY = 4;
constexpr std::uint32_t RESOURCE_SUBDIRECTORY = 0x80000000u;

std::uint32_t Read(const std::string& image, std::size_t nOffset, std::size_t cb)
{
    if (nOffset > image.size() || cb > image.size() - nOffset)
        throw ToolError("not a Windows program: a header lies outside the file");
    std::uint32_t dwValue = 0;
    for (std::size_t i = 0; i < cb; ++i)
        dwValue |= std::uint32_t(static_cast<unsigned char>(image[nOffset + i])) << (8 * i);
    return dwValue;
}

std::uint32_t U16(const std::string& image, std::size_t nOffset)
{
    return Read(image, nOffset, 2);
}

std::uint32_t U32(const std::string& image, std::size_t nOffset)
{
    return Read(image, nOffset, 4);
}

// Where the headers lie: the optional header and its data directories.
struct Headers
{
    std::size_t nFileHeader;
    std::size_t nOptional;
    std::size_t nDirectories;
    std::uint32_t dwDirectoryCount;
};

Headers ReadHeaders(const std::string& image)
{
    if (U16(image, 0) != 0x5A4D)
        throw ToolError("not a Windows program: no MZ header");
    std::size_t nPe = U32(image, 0x3C);
    if (U32(image, nPe) != 0x00004550)
        throw ToolError("not a Windows program: no PE signature");
    Headers h;
    h.nFileHeader = nPe + 4;
    h.nOptional = h.nFileHeader + 20;
    std::uint32_t wMagic = U16(image, h.nOptional);
    if (wMagic != PE32_MAGIC && wMagic != PE32_PLUS_MAGIC)
        throw ToolError("not a Windows program: unknown optional header");
    std::size_t nCountField = h.nOptional + (wMagic == PE32_MAGIC ? 92 : 108);
    h.dwDirectoryCount = U32(image, nCountField);
    h.nDirectories = nCountField + 4;
    return h;
}

std::size_t ChecksumOffset(const std::string& image)
{
    return ReadHeaders(image).nOptional + 64;
}

// Data directory i: its address (an RVA, a file offset for the certificate
// table) and size; both 0 when the image has fewer directories.
void Directory(const std::string& image, std::uint32_t i, std::uint32_t& dwAddress,
               std::uint32_t& cbSize)
{
    Headers h = ReadHeaders(image);
    dwAddress = cbSize = 0;
    if (i >= h.dwDirectoryCount)
        return;
    dwAddress = U32(image, h.nDirectories + 8 * i);
    cbSize = U32(image, h.nDirectories + 8 * i + 4);
}

std::size_t RvaToOffset(const std::string& image, std::uint32_t dwRva, std::uint32_t cb)
{
    Headers h = ReadHeaders(image);
    std::uint32_t nSections = U16(image, h.nFileHeader + 2);
    std::size_t nSection = h.nOptional + U16(image, h.nFileHeader + 16);
    for (std::uint32_t i = 0; i < nSections; ++i, nSection += 40)
    {
        std::uint32_t dwStart = U32(image, nSection + 12);
        std::uint32_t cbRaw = U32(image, nSection + 16);
        std::uint32_t dwRaw = U32(image, nSection + 20);
        if (dwRva < dwStart || std::uint64_t(dwRva) + cb > std::uint64_t(dwStart) + cbRaw)
            continue;
        std::uint64_t qwOffset = std::uint64_t(dwRaw) + (dwRva - dwStart);
        if (qwOffset + cb > image.size())
            break;
        return static_cast<std::size_t>(qwOffset);
    }
    throw ToolError("not a Windows program: resource data outside every section");
}

// The entry of a resource directory with the given id: its OffsetToData.
std::uint32_t FindEntry(const std::string& image, std::size_t nDirectory, std::uint32_t dwId)
{
    std::uint32_t nNamed = U16(image, nDirectory + 12);
    std::uint32_t nIds = U16(image, nDirectory + 14);
    for (std::uint32_t i = 0; i < nNamed + nIds; ++i)
    {
        std::size_t nEntry = nDirectory + 16 + 8 * std::size_t(i);
        if (U32(image, nEntry) == dwId)
            return U32(image, nEntry + 4);
    }
    throw ToolError("the program has no resource " + std::to_string(dwId) + " of that type");
}
} // namespace

std::uint32_t ComputePeChecksum(const std::string& image)
{
    std::size_t nSkip = ChecksumOffset(image);
    std::uint64_t qwSum = 0;
    for (std::size_t i = 0; i < image.size(); i += 2)
    {
        if (i == nSkip || i == nSkip + 2)
            continue;
        std::uint32_t wWord = static_cast<unsigned char>(image[i]);
        if (i + 1 < image.size())
            wWord |= std::uint32_t(static_cast<unsigned char>(image[i + 1])) << 8;
        qwSum += wWord;
        qwSum = (qwSum & 0xFFFF) + (qwSum >> 16);
    }
    qwSum = (qwSum & 0xFFFF) + (qwSum >> 16);
    return static_cast<std::uint32_t>(qwSum + image.size());
}

void SetPeChecksum(std::string& image)
{
    std::uint32_t dwSum = ComputePeChecksum(image);
    std::size_t nAt = ChecksumOffset(image);
    for (int i = 0; i < 4; ++i)
        image[nAt + i] = static_cast<char>(dwSum >> (8 * i));
}

std::uint32_t StoredPeChecksum(const std::string& image)
{
    return U32(image, ChecksumOffset(image));
}

bool HasCertificateTable(const std::string& image)
{
    std::uint32_t dwOffset = 0;
    std::uint32_t cbSize = 0;
    Directory(image, DIRECTORY_SECURITY, dwOffset, cbSize);
    return cbSize != 0;
}

std::size_t FindResourceData(const std::string& image, std::uint32_t dwType, std::uint32_t dwId,
                             std::uint32_t& cbSize)
{
    std::uint32_t dwRoot = 0;
    std::uint32_t cbResources = 0;
    Directory(image, DIRECTORY_RESOURCE, dwRoot, cbResources);
    if (cbResources == 0)
        throw ToolError("the program has no resources");
    std::size_t nRoot = RvaToOffset(image, dwRoot, 16);
    // Type, then id, then the first language: two subdirectories, one data entry.
    std::uint32_t dwNext = FindEntry(image, nRoot, dwType);
    if ((dwNext & RESOURCE_SUBDIRECTORY) == 0)
        throw ToolError("the program's resource table is malformed");
    dwNext = FindEntry(image, nRoot + (dwNext & ~RESOURCE_SUBDIRECTORY), dwId);
    if ((dwNext & RESOURCE_SUBDIRECTORY) == 0)
        throw ToolError("the program's resource table is malformed");
    std::size_t nLanguages = nRoot + (dwNext & ~RESOURCE_SUBDIRECTORY);
    if (U16(image, nLanguages + 12) + U16(image, nLanguages + 14) == 0)
        throw ToolError("the program's resource " + std::to_string(dwId) + " has no data");
    std::uint32_t dwData = U32(image, nLanguages + 16 + 4);
    if ((dwData & RESOURCE_SUBDIRECTORY) != 0)
        throw ToolError("the program's resource table is malformed");
    std::size_t nDataEntry = nRoot + dwData;
    cbSize = U32(image, nDataEntry + 4);
    return RvaToOffset(image, U32(image, nDataEntry), cbSize);
}
