#pragma once

#include <string>

// Makes damaged variants of a valid archive. Variant i with the same seed is
// always the same bytes. Every fourth variant is the archive cut at one
// length, stepping so that every length from 0 to the full size is tried
// once per (size + 1) such variants; the others flip bits in the header or
// table, set FileCount to 0, huge or wrapping values, point offsets and sizes
// past the end, fill names without a zero byte or with separators, give an
// entry another entry's name spelt with bytes of 0x80 and above (soft hyphen,
// sharp s, ae, accents), and overwrite or insert random bytes.
std::string MutateArchive(const std::string& sValid, long iVariant, unsigned uSeed);
