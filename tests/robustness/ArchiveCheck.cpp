#include "ArchiveCheck.h"

#include "CSetupDatFile.h"
#include "EngineTestSupport.h"

#include <cstdio>
#include <cstring>
#include <windows.h>

namespace
{
struct OracleEntry
{
    std::string sName;
    std::uint32_t dwSize;
    std::uint32_t dwOffset;
};

// What a correct reader must conclude from the bytes: whether the archive
// opens, and its entries.
struct Oracle
{
    bool bOpens = false;
    std::vector<OracleEntry> entries;
};

bool SameText(const std::string& a, const std::string& b)
{
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
           CSTR_EQUAL;
}

std::string FieldText(const char* p, std::size_t cb)
{
    return std::string(p, SetupDatFieldLength(p, cb));
}

Oracle ReadOracle(const std::string& s)
{
    Oracle o;
    if (s.size() < SETUPDAT_HEADER_SIZE)
        return o;
    if (!SameText(FieldText(s.data(), SETUPDAT_SIGNATURE_SIZE), SETUPDAT_SIGNATURE))
        return o;
    std::uint32_t n = 0;
    std::memcpy(&n, &s[36], 4);
    if (SetupDatTableEnd(n) > s.size())
        return o;
    o.bOpens = true;
    for (std::uint32_t i = 0; i < n; ++i)
    {
        PackageFile e;
        std::memcpy(&e, &s[SETUPDAT_HEADER_SIZE + std::size_t(i) * SETUPDAT_ENTRY_SIZE], sizeof(e));
        o.entries.push_back({FieldText(e.Name, SETUPDAT_NAME_SIZE), e.SizeLow, e.DataOffset});
    }
    return o;
}

std::string FilePart(const std::string& sName)
{
    std::size_t p = sName.rfind('\\');
    if (p == std::string::npos)
        p = sName.rfind('/');
    return p == std::string::npos ? sName : sName.substr(p + 1);
}

const OracleEntry* Lookup(const Oracle& o, const std::string& sName)
{
    std::string sPart = FilePart(sName);
    for (const OracleEntry& e : o.entries)
    {
        if (SameText(sPart, e.sName))
            return &e;
    }
    return nullptr;
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

bool Complain(const char* pszWhat, const std::string& sName)
{
    std::fprintf(stderr, "archive: %s: %s\n", pszWhat, sName.c_str());
    return false;
}
} // namespace

CArchiveCheck::CArchiveCheck(const std::string& sFolder, const std::vector<std::string>& sNames)
    : m_sArchivePath(sFolder + "\\Setup.dat"), m_sTargetPath(sFolder + "\\target.bin"),
      m_Names(sNames)
{
}

bool CArchiveCheck::Check(const std::string& sArchive)
{
    WriteWholeFile(m_sArchivePath, sArchive);
    Oracle o = ReadOracle(sArchive);
    CSetupDatFile archive;
    bool bOpened = archive.OpenDatFile(m_sArchivePath.c_str());
    if (bOpened && !o.bOpens)
        return Complain("opened although the bytes do not allow it", "");
    bool bOk = bOpened == o.bOpens || Complain("refused a readable archive", "");
    std::vector<std::string> names = m_Names;
    // Entry names the variant made up (the others are looked up anyway).
    for (std::size_t i = 0; i < o.entries.size() && i < 8; ++i)
    {
        bool bKnown = false;
        for (const std::string& sKnown : m_Names)
            bKnown = bKnown || sKnown == o.entries[i].sName;
        if (!bKnown)
            names.push_back(o.entries[i].sName);
    }
    names.push_back("folder\\sub/" + m_Names.front());
    for (const std::string& sName : names)
    {
        const OracleEntry* pEntry = bOpened ? Lookup(o, sName) : nullptr;
        TxFileInfo info;
        bool bFound = archive.FindPackageFile(sName.c_str(), &info);
        if (bFound != (pEntry != nullptr))
            return Complain("lookup disagrees", sName);
        DeleteFileA(m_sTargetPath.c_str());
        bool bCopied = archive.CopyFile(sName.c_str(), m_sTargetPath.c_str());
        bool bFits = pEntry != nullptr &&
                     std::uint64_t(pEntry->dwOffset) + pEntry->dwSize <= sArchive.size();
        std::string sData;
        bool bExists = ReadWhole(m_sTargetPath, sData);
        if (bCopied && !bFits)
            return Complain("extracted a block outside the file", sName);
        if (bCopied && (!bExists || sData != sArchive.substr(pEntry->dwOffset, pEntry->dwSize)))
            return Complain("extracted bytes differ from the block", sName);
        if (!bCopied && bExists)
            return Complain("failed extraction left its target", sName);
        if (!bCopied && bFits)
            bOk = Complain("refused a readable entry", sName);
    }
    return bOk;
}
