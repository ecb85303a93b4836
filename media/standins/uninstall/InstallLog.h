#pragma once

#include "TxCollection.h"
#include "TxString.h"

#include <vector>

// What a record of "Install.log" names.
enum class LogItemKind
{
    ProgramFile,   // "S_PRGFILE "
    ImageFile,     // "S_IMGFILE "
    Folder,        // "S_FOLDER_ "
    Autorun,       // "S_AUTORUN ": a value name under the Run key
    Shortcut,      // "S_LNKFILE "
    UninstallEntry // "S_UNINST_ ": a key name under the Uninstall root
};

struct InstallLogRecord
{
    LogItemKind Kind;
    TxString sText; // path, value name or key name
    int iBlock;     // 0 for the first installation's block
};

// The records of "Install.log", all blocks, in file order (oldest first).
class InstallLog
{
public:
    enum class LoadResult
    {
        Loaded,
        Missing,   // no file of that name
        Unreadable // it cannot be read, or holds no record at all
    };

    LoadResult Load(const char* pszPath);
    // Takes the lines of a log. Lines that are not records are passed over:
    // time lines (each ends a block), empty lines, unknown tags, and path
    // records whose path is not absolute, which could only point somewhere
    // the setup never wrote.
    void Parse(const TxStringCollection& lines);

    const std::vector<InstallLogRecord>& Records() const { return m_Records; }
    // Blocks seen; an unterminated last block counts when it holds records.
    int BlockCount() const;
    int SkippedLines() const { return m_iSkippedLines; }

private:
    void ParseLine(const TxString& sLine);

    std::vector<InstallLogRecord> m_Records;
    int m_iBlock = 0;
    int m_iSkippedLines = 0;
};

// "C:\..." or "\\server\...": the only paths the setup records.
bool IsAbsolutePath(const char* pszPath);
