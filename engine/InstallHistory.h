#pragma once

#include "TxCollection.h"
#include "TxFindFile.h"

// What a history record stands for; each kind but HISTORY_NONE has its own
// record tag in "Install.log".
enum HistoryKind
{
    HISTORY_NONE = 0,
    PRGFILE = 1, // a program file (also "Install.log" itself)
    IMGFILE = 2, // an image file
    FOLDER = 3,  // a folder the installation created
    AUTORUN = 4, // the autorun value under the Run key
    LNKFILE = 5, // a shortcut file
    UNINST = 6,  // the uninstall entry, named by sPath
};

// One thing the installation created, in the order of creation.
class CHistoryItem : public TxObject
{
public:
    CHistoryItem() : Kind(HISTORY_NONE) {}

    TxString sPath;
    TxFileInfo FileInfo;
    int Kind;
};

// Everything this run created, oldest first. Items are only ever appended.
class CInstallHistory : public TxCollection
{
public:
    CInstallHistory() : TxCollection(32, 64) {}

    CHistoryItem* ItemAt(int iIndex) const { return static_cast<CHistoryItem*>(At(iIndex)); }
    // Appends a record; call only once the thing really exists.
    void Record(int iKind, const char* pszPath, const TxFileInfo* pFileInfo = nullptr);
};

extern CInstallHistory g_History;

// Undoes the history newest first, so that each folder is empty when its
// turn comes, then puts back what the run replaced. Failures of single
// steps are passed over.
void RollBack();
