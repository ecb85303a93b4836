#pragma once

#include "TxCollection.h"
#include "TxFindFile.h"

// Flag bits of CInstallFile::dwFlags.
constexpr unsigned long IF_LOCALIZED = 1; // look for a language variant first
constexpr unsigned long IF_PACKED = 2;    // extract from "Setup.dat", else copy

// One file of the install plan, or one image.
class CInstallFile : public TxObject
{
public:
    CInstallFile() : dwFlags(0) {}

    TxString sSrcName;   // source name; names the file in messages
    TxString sDstName;   // target name, and the name looked up in the archive
    TxString sDstFolder; // replaces the program folder when not empty
    TxString sSubFolder; // below the target folder, created when missing
    TxFileInfo FileInfo;
    unsigned long dwFlags;
};

// A collection of owned CInstallFile records.
class CInstallFileList : public TxCollection
{
public:
    CInstallFileList() : TxCollection(32, 64) {}
    CInstallFile* FileAt(int iIndex) const { return static_cast<CInstallFile*>(At(iIndex)); }
    // Appends a new record (owned by the list) and returns it.
    CInstallFile* Add(const char* pszName, const char* pszDstFolder, const char* pszSubFolder,
                      unsigned long dwFlags);
};
