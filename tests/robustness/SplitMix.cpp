#include "SplitMix.h"

CSplitMix::CSplitMix(std::uint64_t qwSeed, std::uint64_t qwVariant)
    : m_qwState(qwSeed * 0x9E3779B97F4A7C15ull ^ (qwVariant + 0x632BE59BD9B4E019ull))
{
    Next();
}

std::uint64_t CSplitMix::Next()
{
    std::uint64_t z = (m_qwState += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::uint32_t CSplitMix::Below(std::uint32_t n)
{
    return n == 0 ? 0 : static_cast<std::uint32_t>(Next() % n);
}
