#include "SetupSeal.h"

#include "ArchiveSeal.h"
#include "PackInputs.h"
#include "PeImage.h"
#include "Sha256.h"
#include "ToolError.h"

#include <fstream>
#include <sstream>
#include <vector>

namespace fs = std::filesystem;

namespace
{
constexpr std::uint32_t RESOURCE_TYPE_RCDATA = 10;

std::string ReadFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw ToolError(DisplayPath(path) + ": cannot open");
    std::ostringstream data;
    data << file.rdbuf();
    if (file.bad())
        throw ToolError(DisplayPath(path) + ": read error");
    return data.str();
}

void WriteFile(const fs::path& path, const std::string& sData)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(sData.data(), static_cast<std::streamsize>(sData.size()));
    file.close();
    if (!file)
        throw ToolError(DisplayPath(path) + ": write error");
}

std::string Hex(const unsigned char* pb, std::size_t cb)
{
    static const char DIGITS[] = "0123456789abcdef";
    std::string sHex;
    for (std::size_t i = 0; i < cb; ++i)
    {
        sHex += DIGITS[pb[i] >> 4];
        sHex += DIGITS[pb[i] & 15];
    }
    return sHex;
}

// Where the seal lies in the program's bytes; throws for a program without it.
std::size_t SealOffset(const std::string& image, const fs::path& setup)
{
    std::uint32_t cbSeal = 0;
    std::size_t nSeal = 0;
    try
    {
        nSeal = FindResourceData(image, RESOURCE_TYPE_RCDATA, ARCHIVE_SEAL_RESOURCE, cbSeal);
    }
    catch (const ToolError& e)
    {
        throw ToolError(DisplayPath(setup) + ": no archive seal resource (" + e.what() + ")");
    }
    if (cbSeal != ARCHIVE_SEAL_SIZE)
        throw ToolError(DisplayPath(setup) + ": the archive seal resource has " +
                        std::to_string(cbSeal) + " bytes instead of " +
                        std::to_string(ARCHIVE_SEAL_SIZE));
    return nSeal;
}

void ArchiveSha256(const fs::path& archive, std::uint8_t digest[SHA256_DIGEST_SIZE])
{
    std::ifstream file(archive, std::ios::binary);
    if (!file)
        throw ToolError(DisplayPath(archive) + ": cannot open");
    CSha256 sha;
    std::vector<char> buffer(1 << 20);
    while (file)
    {
        file.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        sha.Update(buffer.data(), static_cast<std::size_t>(file.gcount()));
    }
    if (file.bad())
        throw ToolError(DisplayPath(archive) + ": read error");
    sha.Finish(digest);
}
} // namespace

std::string ArchiveSha256Hex(const fs::path& archive)
{
    std::uint8_t digest[SHA256_DIGEST_SIZE];
    ArchiveSha256(archive, digest);
    return Hex(digest, sizeof(digest));
}

std::string SealSetup(const fs::path& setup, const fs::path& archive)
{
    std::string image = ReadFile(setup);
    std::size_t nSeal = SealOffset(image, setup);
    if (HasCertificateTable(image))
        throw ToolError(DisplayPath(setup) +
                        ": is signed; sealing would break the signature (seal first, then sign)");
    std::uint8_t digest[SHA256_DIGEST_SIZE];
    ArchiveSha256(archive, digest);
    image.replace(nSeal, sizeof(digest), reinterpret_cast<const char*>(digest), sizeof(digest));
    SetPeChecksum(image);
    WriteFile(setup, image);
    return Hex(digest, sizeof(digest));
}

std::string SealFault(const fs::path& setup, const fs::path& archive)
{
    std::string image = ReadFile(setup);
    std::size_t nSeal = SealOffset(image, setup);
    std::string sSealed =
        Hex(reinterpret_cast<const unsigned char*>(image.data() + nSeal), ARCHIVE_SEAL_SIZE);
    if (sSealed == std::string(2 * ARCHIVE_SEAL_SIZE, '0'))
        return DisplayPath(setup) + " carries no archive seal (it takes any archive)";
    std::string sArchive = ArchiveSha256Hex(archive);
    if (sSealed != sArchive)
        return "not the archive " + DisplayPath(setup) + " was sealed with (sealed " + sSealed +
               ", archive " + sArchive + "): the setup refuses it";
    return std::string();
}
