#pragma once

#include "InstallLog.h"
#include "TxString.h"

#include <vector>

// Where the uninstaller may remove things. "Install.log" lies in a folder the
// user chose, often one that every user may write to, while the uninstaller
// runs elevated: a record is honoured only when it names what an
// installation can have made.
struct RemovalScope
{
    TxString sProgramDir; // the folder "Install.log" lies in
    // The image folders the setup registered: the last installation's and
    // those of earlier ones into the product, which a later installation
    // without images no longer names as the last.
    std::vector<TxString> ImageDirs;
    TxString sSystemDir;                // the only home of "Quorvane.scr"
    std::vector<TxString> ShortcutDirs; // the only homes of "Quorvane Manager.lnk"

    // The scope of the log at pszLogPath on this machine: the registered
    // image folders, the system folder, the Start-menu and desktop folders.
    static RemovalScope ForLog(const char* pszLogPath);
};

// True when sPath lies strictly inside the folder sFolder (both full paths).
bool IsInsideFolder(const TxString& sPath, const TxString& sFolder);

// What the uninstaller may act on for one record.
struct AcceptedRecord
{
    TxString sTarget; // the full path in its plain form, or the registry name
    // The program or image folder the path lies in or is, whose identity the
    // removal checks through a handle; empty for the system, Start-menu and
    // desktop folders and the levels above the program or image folder.
    TxString sRoot;
};

// Decides for each record whether the uninstaller may act on it.
class RecordFilter
{
public:
    RecordFilter(const RemovalScope& scope, const std::vector<InstallLogRecord>& records);

    // True, with the target and its folder set, when the record may be removed.
    bool Accept(const InstallLogRecord& record, AcceptedRecord& accepted) const;
    // The same for a file the uninstaller removes without a record of its
    // own ("Install.log", its own file): it must lie in the program folder.
    bool AcceptProgramFile(const char* pszPath, AcceptedRecord& accepted) const;

private:
    bool AcceptFile(LogItemKind kind, AcceptedRecord& accepted) const;
    bool AcceptFolder(int iBlock, AcceptedRecord& accepted) const;
    bool IsRecordedFolder(const TxString& sFull, int iBlock) const;
    // The program or image folder that sFull lies in (or is, with bSelf).
    bool FindRoot(const TxString& sFull, bool bImages, bool bSelf, TxString& sRoot) const;

    const RemovalScope& m_Scope;
    const std::vector<InstallLogRecord>& m_Records;
};
