#pragma once

#include "InstallLog.h"
#include "ItemRemoval.h"
#include "RemovalScope.h"
#include "UninstallTexts.h"

#include <set>
#include <string>
#include <vector>
#include <windows.h>

// Receives each line of the uninstaller's report as it is made.
class IUninstallReport
{
public:
    virtual ~IUninstallReport() = default;
    virtual void ReportLine(const TxString& sLine) = 0;
};

struct UninstallOutcome
{
    bool bLogRead = false; // false: nothing was touched
    int iFailures = 0;     // items that exist but could not be removed
    int iSkipped = 0;      // records naming what no installation makes
};

// Removes what "Install.log" records, newest first, reporting every action in
// the texts given. Deletes nothing the log does not name, except the log
// itself, the uninstaller's own file, the product's registry key and the
// maker's key above it once that is empty; of what the log names, only what
// lies within the removal scope (see RecordFilter), skipping and reporting
// the rest. The program and image folders are held open for the run; every
// file and folder is opened without following a link, checked by its final
// path to lie in its folder, and deleted through that handle (ItemRemoval).
class UninstallPlan
{
public:
    // The texts are copied; the report must outlive the plan.
    UninstallPlan(const UninstallTexts& texts, IUninstallReport& report);

    // The running uninstaller, deleted last or, while Windows keeps it, at the
    // next restart. Empty (the default): no own file to remove.
    void SetSelfPath(const char* pszPath) { m_sSelfPath = pszPath; }
    // How long to wait for a running agent to let go of its event.
    void SetAgentWait(DWORD dwMs) { m_dwAgentWaitMs = dwMs; }
    // The scope to use instead of this machine's for the log (ForLog).
    void SetScope(const RemovalScope& scope)
    {
        m_Scope = scope;
        m_bScopeSet = true;
    }

    // Reads the log at pszLogPath and removes everything it records.
    UninstallOutcome Run(const char* pszLogPath);

    // The log's records newest first, each item once even when several blocks
    // record it (a repeated installation into the same folder), however its
    // path is spelt ("C:/P/a" and "c:\p\A" are one file).
    static std::vector<InstallLogRecord> RemovalOrder(const std::vector<InstallLogRecord>& records);

private:
    bool LoadLog(const char* pszLogPath, InstallLog& log);
    void CloseAgent();
    void RemoveStep(const InstallLogRecord& step, const RecordFilter& filter);
    // The held folder the item must lie in; false (reported) when it cannot
    // be had.
    bool RootOf(const AcceptedRecord& item, HANDLE& hRoot);
    void RemoveFile(const AcceptedRecord& item);
    void RemoveFolder(const AcceptedRecord& item);
    void RemoveAutorun();
    void RemoveUninstallEntry(const char* pszName);
    void RemoveLastItems(const char* pszLogPath, const RecordFilter& filter);
    void RemoveSelf(const RecordFilter& filter);
    void RemoveProductKey();
    void RemoveVendorKeyIfEmpty();
    void RemoveFolderAgain(const AcceptedRecord& item);
    bool ScheduleFolder(const AcceptedRecord& item, HANDLE hRoot, const TxEntryId* pId);
    bool HoldsOnlyScheduled(const char* pszFolder) const;
    bool IsDeferred(const TxString& sPath) const;
    void Skip(const char* pszText);
    void Report(UninstallTextId id, const char* pszArgument);
    void ReportFailure(UninstallTextId id, const char* pszArgument);

    UninstallTexts m_Texts;
    IUninstallReport& m_Report;
    TxString m_sSelfPath;
    RemovalScope m_Scope;
    bool m_bScopeSet = false;
    DWORD m_dwAgentWaitMs;
    UninstallOutcome m_Outcome;
    HeldFolders m_Held;                        // the program and image folders
    std::set<std::string> m_Deferred;          // upper-case paths removed at the end
    std::set<std::string> m_Scheduled;         // upper-case paths left to the restart
    std::vector<AcceptedRecord> m_FullFolders; // newest first, tried again at the end
};
