#pragma once

#include <cstdint>

// The runtime library's 64-bit linear congruential generator, written out so
// that a given seed picks the same images on every build.
class CRandom64
{
public:
    CRandom64() : m_qwState(0) {}

    // Low half = seed advanced once (32-bit), high half = 0.
    void Seed(uint32_t dwSeed);
    // S = S * 0x15A00004E35 + 1; returns bits 32 to 62 (0 ... 2^31 - 1).
    uint32_t Next();

private:
    uint64_t m_qwState;
};
