#include "ArchiveCheck.h"

#include "ArchiveOracle.h"
#include "CSetupDatFile.h"
#include "EngineTestSupport.h"

#include <cstdio>
#include <windows.h>

namespace
{
// The name spelt another way that the locale-aware comparison may find equal:
// soft hyphens left out, sharp s and ae spelt out, upper case.
std::string Twin(const std::string& sName)
{
    std::string s;
    for (char ch : sName)
    {
        unsigned char b = static_cast<unsigned char>(ch);
        if (b == 0xAD)
            continue;
        if (b == 0xDF)
            s += "SS";
        else if (b == 0xE6 || b == 0xC6)
            s += "AE";
        else
            s += ch;
    }
    if (!s.empty())
        CharUpperBuffA(&s[0], static_cast<DWORD>(s.size()));
    return s;
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
    ArchiveOracle o = ReadArchiveOracle(sArchive);
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
        std::string sTwin = Twin(o.entries[i].sName);
        if (sTwin != o.entries[i].sName)
            names.push_back(sTwin);
    }
    names.push_back("folder\\sub/" + m_Names.front());
    for (const std::string& sName : names)
    {
        const OracleEntry* pEntry = bOpened ? OracleLookup(o, sName) : nullptr;
        TxFileInfo info;
        bool bFound = archive.FindPackageFile(sName.c_str(), &info);
        if (bFound != (pEntry != nullptr))
            return Complain("lookup disagrees", sName);
        if (bFound && std::string(info.m_sName.GetText()) != pEntry->sName)
            return Complain("lookup took another entry than the first match", sName);
        DeleteFileA(m_sTargetPath.c_str());
        bool bCopied = archive.CopyFile(sName.c_str(), m_sTargetPath.c_str());
        bool bFits = pEntry != nullptr && BlockFits(*pEntry, sArchive.size());
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
