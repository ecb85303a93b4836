#include "Random64.h"

void CRandom64::Seed(uint32_t dwSeed)
{
    uint32_t dwLow = dwSeed * 22695477u + 1u;
    m_qwState = dwLow;
}

uint32_t CRandom64::Next()
{
    const uint64_t qwMultiplier = (346ull << 32) + 20021ull;
    m_qwState = m_qwState * qwMultiplier + 1u;
    return static_cast<uint32_t>(m_qwState >> 32) & 0x7FFFFFFFu;
}
