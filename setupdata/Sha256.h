#pragma once

// SHA-256 in plain C++, shared by the setup (which checks "Setup.dat" against
// the digest sealed into it) and the archive tool on Windows and Linux (which
// seals it), so that both compute the digest with the same code. Own code
// rather than a system provider: the setup loads no crypto DLL, and it runs
// the same on every Windows version.

#include <cstddef>
#include <cstdint>

constexpr std::size_t SHA256_DIGEST_SIZE = 32;

class CSha256
{
public:
    CSha256();
    void Update(const void* pData, std::size_t nSize);
    // Writes the digest of everything given to Update; the object is then spent.
    void Finish(std::uint8_t digest[SHA256_DIGEST_SIZE]);

private:
    void Compress(const std::uint8_t* pBlock);

    std::uint32_t m_State[8];
    std::uint64_t m_qwLength;
    std::uint8_t m_Block[64];
    std::size_t m_nBlockUsed;
};
