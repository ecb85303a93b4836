#include "ArchiveMutator.h"

#include "SetupDatFormat.h"
#include "SplitMix.h"

#include <cstring>

namespace
{
using std::uint32_t;

// FileCount of the valid archive the variant starts from.
uint32_t EntryCount(const std::string& s)
{
    uint32_t n = 0;
    std::memcpy(&n, &s[36], 4);
    return n;
}

void Put32(std::string& s, std::size_t pos, uint32_t v)
{
    if (pos + 4 <= s.size())
        std::memcpy(&s[pos], &v, 4);
}

// Offset of field iField of entry iEntry.
std::size_t EntryField(uint32_t iEntry, std::size_t iField)
{
    return SETUPDAT_HEADER_SIZE + static_cast<std::size_t>(iEntry) * SETUPDAT_ENTRY_SIZE + iField;
}

void FlipBits(std::string& s, std::size_t first, std::size_t length, CSplitMix& rng)
{
    int n = 1 + static_cast<int>(rng.Below(4));
    for (int i = 0; i < n && length > 0; ++i)
        s[first + rng.Below(static_cast<uint32_t>(length))] ^=
            static_cast<char>(1u << rng.Below(8));
}

void SetFileCount(std::string& s, CSplitMix& rng)
{
    // 0, huge, and counts whose 32-bit byte count wraps to a small number.
    const uint32_t aCounts[] = {
        0u,        1u,          0xFFFFFFFFu, 0x7FFFFFFFu,        24403224u,
        24403225u, 0x80000000u, 0x01745D18u, EntryCount(s) + 1u, EntryCount(s) * 2u};
    Put32(s, 36, aCounts[rng.Below(sizeof(aCounts) / sizeof(aCounts[0]))]);
}

void PointPastEnd(std::string& s, uint32_t iEntry, CSplitMix& rng)
{
    uint32_t cb = static_cast<uint32_t>(s.size());
    const uint32_t aValues[] = {cb,          cb + 1,      cb - 1, 0xFFFFFFFFu, 0xFFFFFF00u,
                                0x80000000u, 0x7FFFFFFFu, cb * 2, 0u,          cb / 2};
    uint32_t v = aValues[rng.Below(sizeof(aValues) / sizeof(aValues[0]))];
    switch (rng.Below(4))
    {
    case 0:
        Put32(s, EntryField(iEntry, 136), v);
        break;
    case 1:
        Put32(s, EntryField(iEntry, 128), v);
        break;
    case 2:
        Put32(s, EntryField(iEntry, 132), v);
        break;
    default:
        // Offset and size that together wrap around 32 bits.
        Put32(s, EntryField(iEntry, 136), 0xFFFFFF00u);
        Put32(s, EntryField(iEntry, 128), 0x200u);
        break;
    }
}

void DamageName(std::string& s, uint32_t iEntry, CSplitMix& rng)
{
    std::size_t pos = EntryField(iEntry, 0);
    const char* apszNames[] = {"..\\..\\Windows\\evil.dll",
                               "a/b/ReadMe.html",
                               "C:\\boot.ini",
                               "\\\\server\\share\\x",
                               "dir\\",
                               "/",
                               "",
                               "CON",
                               "Texture001.bmp/"};
    switch (rng.Below(3))
    {
    case 0: // all 96 bytes used: no terminating zero
        for (std::size_t i = 0; i < SETUPDAT_NAME_SIZE; ++i)
            s[pos + i] = static_cast<char>('A' + rng.Below(26));
        break;
    case 1:
    {
        const char* psz = apszNames[rng.Below(sizeof(apszNames) / sizeof(apszNames[0]))];
        std::memset(&s[pos], 0, SETUPDAT_NAME_SIZE);
        std::memcpy(&s[pos], psz, std::strlen(psz));
        break;
    }
    default: // high and control bytes
        for (std::size_t i = 0; i < SETUPDAT_NAME_SIZE - 1; ++i)
            s[pos + i] = static_cast<char>(1 + rng.Below(255));
        break;
    }
}

// Entry iEntry takes another entry's name spelt with bytes of 0x80 and above:
// a soft hyphen (which the locale-aware comparison ignores), sharp s or ae
// for their spelt-out forms, accented or random high letters. Lookups of the
// plain name must then take the first entry in table order that compares
// equal, whatever the byte lengths.
void LocaleName(std::string& s, uint32_t iEntry, CSplitMix& rng)
{
    uint32_t iFrom = rng.Below(EntryCount(s));
    std::string sName(&s[EntryField(iFrom, 0)]);
    std::size_t at = rng.Below(static_cast<uint32_t>(sName.size() + 1));
    switch (rng.Below(5))
    {
    case 0:
        sName.insert(at, 1, '\xAD');
        break;
    case 1:
        sName.insert(at, 1, '\xDF');
        break;
    case 2:
        sName.insert(at, 1, rng.Below(2) == 0 ? '\xE6' : '\xC6');
        break;
    case 3: // accented letters in either case
        sName.insert(at, 1, static_cast<char>(rng.Below(2) == 0 ? 0xC9 : 0xE9));
        break;
    default:
        for (int i = 0; i < 3 && !sName.empty(); ++i)
            sName[rng.Below(static_cast<uint32_t>(sName.size()))] =
                static_cast<char>(0x80 + rng.Below(128));
        break;
    }
    std::size_t pos = EntryField(iEntry, 0);
    std::memset(&s[pos], 0, SETUPDAT_NAME_SIZE);
    std::memcpy(&s[pos], sName.data(), sName.size() < 95 ? sName.size() : 95);
}

void RandomBytes(std::string& s, CSplitMix& rng)
{
    int n = 1 + static_cast<int>(rng.Below(8));
    for (int i = 0; i < n; ++i)
    {
        std::size_t pos = rng.Below(static_cast<uint32_t>(s.size()));
        if (rng.Below(2) == 0)
            s[pos] = static_cast<char>(rng.Below(256));
        else
            s.insert(pos, 1 + rng.Below(300), static_cast<char>(rng.Below(256)));
    }
}

uint32_t CoprimeStep(uint32_t n)
{
    uint32_t step = 7919;
    while (n % step == 0)
        step += 2;
    return step;
}
} // namespace

std::string MutateArchive(const std::string& sValid, long iVariant, unsigned uSeed)
{
    std::string s = sValid;
    CSplitMix rng(uSeed, static_cast<std::uint64_t>(iVariant));
    if (iVariant % 4 == 0)
    {
        uint32_t n = static_cast<uint32_t>(s.size()) + 1;
        s.resize((static_cast<std::uint64_t>(iVariant / 4) * CoprimeStep(n)) % n);
        return s;
    }
    uint32_t nEntries = EntryCount(s);
    uint32_t iEntry = rng.Below(nEntries);
    std::size_t cbTable = static_cast<std::size_t>(nEntries) * SETUPDAT_ENTRY_SIZE;
    switch (rng.Below(8))
    {
    case 0:
        FlipBits(s, 0, SETUPDAT_HEADER_SIZE, rng);
        break;
    case 1:
        FlipBits(s, SETUPDAT_HEADER_SIZE, cbTable, rng);
        break;
    case 2:
        SetFileCount(s, rng);
        break;
    case 3:
        PointPastEnd(s, iEntry, rng);
        break;
    case 4:
        DamageName(s, iEntry, rng);
        break;
    case 5:
        RandomBytes(s, rng);
        break;
    case 6:
        LocaleName(s, iEntry, rng);
        break;
    default: // several damages at once
        SetFileCount(s, rng);
        PointPastEnd(s, iEntry, rng);
        FlipBits(s, SETUPDAT_HEADER_SIZE, cbTable, rng);
        break;
    }
    return s;
}
