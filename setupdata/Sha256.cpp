#include "Sha256.h"

#include <cstring>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#include <immintrin.h>
#define QV_SHA_EXTENSIONS 1
#endif

namespace
{
const std::uint32_t ROUND_CONSTANTS[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

inline std::uint32_t Rotr(std::uint32_t x, int n)
{
    return (x >> n) | (x << (32 - n));
}

inline std::uint32_t LoadBigEndian(const std::uint8_t* p)
{
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
           std::uint32_t(p[3]);
}

#ifdef QV_SHA_EXTENSIONS
// The blocks through the SHA extensions: four rounds per pair of sha256rnds2,
// the message schedule four words at a time with sha256msg1/msg2. The
// instructions keep the state as ABEF and CDGH. Windows on x86 aligns the
// stack to 4 bytes only: the function aligns it itself for the vectors.
__attribute__((target("sha,ssse3,sse4.1"), force_align_arg_pointer)) void
CompressWithShaExtensions(std::uint32_t state[8], const std::uint8_t* pBlocks, std::size_t nBlocks)
{
    const __m128i byteSwap = _mm_set_epi64x(0x0c0d0e0f08090a0bll, 0x0405060700010203ll);
    __m128i dcba = _mm_loadu_si128(reinterpret_cast<const __m128i*>(state));
    __m128i hgfe = _mm_loadu_si128(reinterpret_cast<const __m128i*>(state + 4));
    __m128i cdab = _mm_shuffle_epi32(dcba, 0xB1);
    __m128i efgh = _mm_shuffle_epi32(hgfe, 0x1B);
    __m128i abef = _mm_alignr_epi8(cdab, efgh, 8);
    __m128i cdgh = _mm_blend_epi16(efgh, cdab, 0xF0);
    for (; nBlocks > 0; --nBlocks, pBlocks += 64)
    {
        __m128i abefSaved = abef;
        __m128i cdghSaved = cdgh;
        __m128i w0 =
            _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pBlocks)), byteSwap);
        __m128i w1 = _mm_shuffle_epi8(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(pBlocks + 16)), byteSwap);
        __m128i w2 = _mm_shuffle_epi8(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(pBlocks + 32)), byteSwap);
        __m128i w3 = _mm_shuffle_epi8(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(pBlocks + 48)), byteSwap);
        // Kept rolled (unrolled it is 1.5 KiB more for little gain); the
        // schedule runs four words ahead, the last ones unused.
#pragma GCC unroll 1
        for (int i = 0; i < 64; i += 4)
        {
            __m128i k = _mm_add_epi32(
                w0, _mm_loadu_si128(reinterpret_cast<const __m128i*>(ROUND_CONSTANTS + i)));
            cdgh = _mm_sha256rnds2_epu32(cdgh, abef, k);
            abef = _mm_sha256rnds2_epu32(abef, cdgh, _mm_shuffle_epi32(k, 0x0E));
            __m128i next = _mm_sha256msg2_epu32(
                _mm_add_epi32(_mm_sha256msg1_epu32(w0, w1), _mm_alignr_epi8(w3, w2, 4)), w3);
            w0 = w1;
            w1 = w2;
            w2 = w3;
            w3 = next;
        }
        abef = _mm_add_epi32(abef, abefSaved);
        cdgh = _mm_add_epi32(cdgh, cdghSaved);
    }
    __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
    __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_blend_epi16(feba, dchg, 0xF0));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state + 4), _mm_alignr_epi8(dchg, feba, 8));
}
#endif
} // namespace

bool CSha256::HasShaExtensions()
{
#ifdef QV_SHA_EXTENSIONS
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx) || (ecx & bit_SSSE3) == 0 ||
        (ecx & bit_SSE4_1) == 0)
        return false;
    return __get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx) && (ebx & bit_SHA) != 0;
#else
    return false;
#endif
}

CSha256::CSha256()
    : m_State{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
              0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19},
      m_qwLength(0), m_Block{}, m_nBlockUsed(0), m_bShaExtensions(HasShaExtensions())
{
}

void CSha256::CompressBlocks(const std::uint8_t* pBlocks, std::size_t nBlocks)
{
#ifdef QV_SHA_EXTENSIONS
    if (m_bShaExtensions)
    {
        CompressWithShaExtensions(m_State, pBlocks, nBlocks);
        return;
    }
#endif
    for (; nBlocks > 0; --nBlocks, pBlocks += 64)
        Compress(pBlocks);
}

void CSha256::Compress(const std::uint8_t* pBlock)
{
    std::uint32_t w[64];
    for (int i = 0; i < 16; ++i)
        w[i] = LoadBigEndian(pBlock + 4 * i);
    for (int i = 16; i < 64; ++i)
    {
        std::uint32_t s0 = Rotr(w[i - 15], 7) ^ Rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
        std::uint32_t s1 = Rotr(w[i - 2], 17) ^ Rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    std::uint32_t a = m_State[0], b = m_State[1], c = m_State[2], d = m_State[3];
    std::uint32_t e = m_State[4], f = m_State[5], g = m_State[6], h = m_State[7];
    for (int i = 0; i < 64; ++i)
    {
        std::uint32_t t1 = h + (Rotr(e, 6) ^ Rotr(e, 11) ^ Rotr(e, 25)) + ((e & f) ^ (~e & g)) +
                           ROUND_CONSTANTS[i] + w[i];
        std::uint32_t t2 = (Rotr(a, 2) ^ Rotr(a, 13) ^ Rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
        h = g;
        g = f;
        f = e;
        e = d + t1;
        d = c;
        c = b;
        b = a;
        a = t1 + t2;
    }
    m_State[0] += a;
    m_State[1] += b;
    m_State[2] += c;
    m_State[3] += d;
    m_State[4] += e;
    m_State[5] += f;
    m_State[6] += g;
    m_State[7] += h;
}

void CSha256::Update(const void* pData, std::size_t nSize)
{
    const std::uint8_t* p = static_cast<const std::uint8_t*>(pData);
    m_qwLength += nSize;
    if (m_nBlockUsed > 0)
    {
        std::size_t nTake = sizeof(m_Block) - m_nBlockUsed;
        if (nTake > nSize)
            nTake = nSize;
        std::memcpy(m_Block + m_nBlockUsed, p, nTake);
        m_nBlockUsed += nTake;
        p += nTake;
        nSize -= nTake;
        if (m_nBlockUsed < sizeof(m_Block))
            return;
        CompressBlocks(m_Block, 1);
        m_nBlockUsed = 0;
    }
    // Whole blocks straight from the caller's buffer, without a copy.
    std::size_t nBlocks = nSize / sizeof(m_Block);
    CompressBlocks(p, nBlocks);
    p += nBlocks * sizeof(m_Block);
    nSize -= nBlocks * sizeof(m_Block);
    std::memcpy(m_Block, p, nSize);
    m_nBlockUsed = nSize;
}

void CSha256::Finish(std::uint8_t digest[SHA256_DIGEST_SIZE])
{
    std::uint64_t qwBits = m_qwLength * 8;
    std::uint8_t padding[72] = {0x80};
    // One 0x80 byte, zeros up to 56 bytes into a block, then the bit length.
    std::size_t nPad = (m_nBlockUsed < 56 ? 56 : 120) - m_nBlockUsed;
    for (int i = 0; i < 8; ++i)
        padding[nPad + i] = static_cast<std::uint8_t>(qwBits >> (56 - 8 * i));
    Update(padding, nPad + 8);
    for (int i = 0; i < 8; ++i)
    {
        digest[4 * i] = static_cast<std::uint8_t>(m_State[i] >> 24);
        digest[4 * i + 1] = static_cast<std::uint8_t>(m_State[i] >> 16);
        digest[4 * i + 2] = static_cast<std::uint8_t>(m_State[i] >> 8);
        digest[4 * i + 3] = static_cast<std::uint8_t>(m_State[i]);
    }
}
