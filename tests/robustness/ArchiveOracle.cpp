#include "ArchiveOracle.h"

#include <cstring>
#include <windows.h>

namespace
{
const std::size_t HEADER = 72;
const std::size_t ENTRY = 176;

std::uint32_t Get32(const std::string& s, std::size_t pos)
{
    std::uint32_t v = 0;
    std::memcpy(&v, &s[pos], 4);
    return v;
}

std::uint64_t Get64(const std::string& s, std::size_t pos)
{
    return Get32(s, pos) | static_cast<std::uint64_t>(Get32(s, pos + 4)) << 32;
}

// A text field up to its first zero byte, at most cb bytes.
std::string Field(const std::string& s, std::size_t pos, std::size_t cb)
{
    std::size_t n = 0;
    while (n < cb && s[pos + n] != 0)
        ++n;
    return s.substr(pos, n);
}

bool SameText(const std::string& a, const std::string& b)
{
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
           CSTR_EQUAL;
}

std::string FilePart(const std::string& sName)
{
    std::size_t p = sName.rfind('\\');
    if (p == std::string::npos)
        p = sName.rfind('/');
    return p == std::string::npos ? sName : sName.substr(p + 1);
}
} // namespace

ArchiveOracle ReadArchiveOracle(const std::string& s)
{
    ArchiveOracle o;
    if (s.size() < HEADER || !SameText(Field(s, 0, 36), "Quorvane Setup File"))
        return o;
    std::uint32_t n = Get32(s, 36);
    if (HEADER + static_cast<std::uint64_t>(n) * ENTRY > s.size())
        return o;
    o.bOpens = true;
    for (std::uint32_t i = 0; i < n; ++i)
    {
        std::size_t p = HEADER + std::size_t(i) * ENTRY;
        o.entries.push_back({Field(s, p, 96), Get32(s, p + 96), Get64(s, p + 104),
                             Get64(s, p + 112), Get64(s, p + 120), Get32(s, p + 128),
                             Get32(s, p + 132), Get32(s, p + 136)});
    }
    return o;
}

const OracleEntry* OracleLookup(const ArchiveOracle& o, const std::string& sName)
{
    std::string sPart = FilePart(sName);
    for (const OracleEntry& e : o.entries)
    {
        if (SameText(sPart, e.sName))
            return &e;
    }
    return nullptr;
}

bool BlockFits(const OracleEntry& e, std::size_t cbArchive)
{
    return std::uint64_t(e.dwOffset) + e.dwSize <= cbArchive;
}

bool ReadWhole(const std::string& sPath, std::string& sData)
{
    HANDLE h = CreateFileA(sPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    sData.clear();
    char buf[65536];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof(buf), &n, nullptr) && n > 0)
        sData.append(buf, n);
    CloseHandle(h);
    return true;
}
