#pragma once

#include <cstdint>

// A small seeded generator (SplitMix64): the same seed and variant number
// always give the same mutation, so any variant can be made again alone.
class CSplitMix
{
public:
    CSplitMix(std::uint64_t qwSeed, std::uint64_t qwVariant);
    std::uint64_t Next();
    // A value from 0 to n - 1 (0 when n is 0).
    std::uint32_t Below(std::uint32_t n);

private:
    std::uint64_t m_qwState;
};
