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
    TxString sProgramDir;               // the folder "Install.log" lies in
    TxString sImageDir;                 // the image folder the setup registered; empty: none
    TxString sSystemDir;                // the only home of "Quorvane.scr"
    std::vector<TxString> ShortcutDirs; // the only homes of "Quorvane Manager.lnk"

    // The scope of the log at pszLogPath on this machine: the registered
    // image folder, the system folder, the Start-menu and desktop folders.
    static RemovalScope ForLog(const char* pszLogPath);
};

// The full form of a recorded path, or false when the record is refused: it
// is not already full and plain (GetFullPathName would change it: "..",
// ".", doubled or trailing separators, trailing dots or blanks), or it names
// an alternate data stream, a device name or a "\\?\"/"\\.\" path.
bool NormaliseRecordPath(const char* pszPath, TxString& sFull);

// True when sPath lies strictly inside the folder sFolder (both full paths).
bool IsInsideFolder(const TxString& sPath, const TxString& sFolder);

// Decides for each record whether the uninstaller may act on it.
class RecordFilter
{
public:
    RecordFilter(const RemovalScope& scope, const std::vector<InstallLogRecord>& records);

    // True, with sTarget set to the full path (or the registry name), when the
    // record may be removed.
    bool Accept(const InstallLogRecord& record, TxString& sTarget) const;

private:
    bool AcceptFile(LogItemKind kind, const TxString& sFull) const;
    bool AcceptFolder(const TxString& sFull, int iBlock) const;
    bool IsRecordedFolder(const TxString& sFull, int iBlock) const;
    bool IsInsideRoot(const TxString& sFull, bool bImages) const;

    const RemovalScope& m_Scope;
    const std::vector<InstallLogRecord>& m_Records;
};
