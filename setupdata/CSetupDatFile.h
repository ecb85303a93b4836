#pragma once

#include "SetupDatFormat.h"
#include "TxFile.h"
#include "TxFindFile.h"

#include <memory>

// Reader of the setup archive "Setup.dat": a header, a table of entries and
// the plain bytes of every file. Failures are logged and reported as false;
// nothing here throws. Entries are looked up by the file-name part of the
// given name, letter case ignored; the first match wins.
//
// windows.h maps CopyFile to CopyFileA; every user of this header sees the same
// mapping, so the member keeps its name for callers.
class CSetupDatFile
{
public:
    CSetupDatFile();
    ~CSetupDatFile();
    CSetupDatFile(const CSetupDatFile&) = delete;
    CSetupDatFile& operator=(const CSetupDatFile&) = delete;

    // Opens the archive and reads its table; the file stays open for CopyFile.
    bool OpenDatFile(const char* pszPath);
    // True if the name is stored; fills pInfo (may be null) from its entry.
    bool FindPackageFile(const char* pszName, TxFileInfo* pInfo) const;
    // Extracts the entry named by pszSrcName to pszDstPath with its times.
    // A target this call created is deleted again when the extraction fails.
    // bNewOnly makes the target new: a name that is taken (a link planted
    // there included) fails the copy instead of being written through.
    bool CopyFile(const char* pszSrcName, const char* pszDstPath, bool bNewOnly = false);
    // Releases the table and closes the file; safe when nothing is open.
    void CloseDatFile();

private:
    bool ReadTable(const char* pszPath);
    const PackageFile* Find(const char* pszName) const;
    void CheckDataBlock(const PackageFile& entry) const;
    void CopyData(const PackageFile& entry, const char* pszDstPath, bool bNewOnly, bool& bCreated);

    std::unique_ptr<PackageFile[]> PackageFiles;
    std::unique_ptr<TxFile> m_pDatFile;
    DWORD m_nPackageFiles;
};
