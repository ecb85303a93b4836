#pragma once

// SHA-256, shared by the setup (which checks "Setup.dat" against the digest
// sealed into it) and the archive tool on Windows and Linux (which seals it),
// so that both compute the digest with the same code. Own code rather than a
// system provider: the setup loads no crypto DLL, and it runs the same on
// every Windows version. Processors with the SHA extensions (AMD since 2017,
// Intel Core since Ice Lake) hash through them, five times faster.

#include <cstddef>
#include <cstdint>

constexpr std::size_t SHA256_DIGEST_SIZE = 32;

class CSha256
{
public:
    CSha256();
    // False takes the plain code even where the SHA extensions exist (tests).
    void UseShaExtensions(bool bUse) { m_bShaExtensions = bUse && HasShaExtensions(); }
    static bool HasShaExtensions();
    void Update(const void* pData, std::size_t nSize);
    // Writes the digest of everything given to Update; the object is then spent.
    void Finish(std::uint8_t digest[SHA256_DIGEST_SIZE]);

private:
    void Compress(const std::uint8_t* pBlock);
    void CompressBlocks(const std::uint8_t* pBlocks, std::size_t nBlocks);

    std::uint32_t m_State[8];
    std::uint64_t m_qwLength;
    std::uint8_t m_Block[64];
    std::size_t m_nBlockUsed;
    bool m_bShaExtensions;
};
