#include "UninstallPlan.h"

#include "AgentCloseRequest.h"
#include "ProductNames.h"
#include "TxHandles.h"
#include "TxPaths.h"
#include "TxPlainPath.h"

namespace
{
constexpr DWORD DEFAULT_AGENT_WAIT_MS = 3000;

// Comparison key of a path or name: letter case does not matter on Windows.
std::string UpperKey(const char* pszText)
{
    TxString s(pszText);
    s.ToUpper();
    return s.GetText();
}

// Files, images and shortcuts are all files: one path is removed once.
char KindGroup(LogItemKind kind)
{
    switch (kind)
    {
    case LogItemKind::Folder:
        return 'D';
    case LogItemKind::Autorun:
        return 'A';
    case LogItemKind::UninstallEntry:
        return 'U';
    default:
        return 'F';
    }
}

// A record's item as the system names it: the plain form of a path, where
// it has one.
std::string ItemKey(const InstallLogRecord& record)
{
    TxString sFull;
    bool bPath = KindGroup(record.Kind) == 'F' || KindGroup(record.Kind) == 'D';
    const TxString& sText =
        bPath && TxPlainFullPath(record.sText.GetText(), sFull) ? sFull : record.sText;
    return KindGroup(record.Kind) + UpperKey(sText.GetText());
}

bool IsRoot(const AcceptedRecord& item)
{
    return !item.sRoot.IsEmpty() && lstrcmpiA(item.sRoot.GetText(), item.sTarget.GetText()) == 0;
}

std::string FolderChild(const char* pszFolder, const char* pszName)
{
    return TxJoinPath(pszFolder, pszName).GetText();
}
} // namespace

UninstallPlan::UninstallPlan(const UninstallTexts& texts, IUninstallReport& report)
    : m_Texts(texts), m_Report(report), m_dwAgentWaitMs(DEFAULT_AGENT_WAIT_MS)
{
}

std::vector<InstallLogRecord>
UninstallPlan::RemovalOrder(const std::vector<InstallLogRecord>& records)
{
    std::vector<InstallLogRecord> order;
    std::set<std::string> seen;
    for (auto it = records.rbegin(); it != records.rend(); ++it)
        if (seen.insert(ItemKey(*it)).second)
            order.push_back(*it);
    return order;
}

UninstallOutcome UninstallPlan::Run(const char* pszLogPath)
{
    m_Outcome = UninstallOutcome();
    m_Deferred.clear();
    m_Scheduled.clear();
    m_FullFolders.clear();
    InstallLog log;
    if (!LoadLog(pszLogPath, log))
        return m_Outcome;
    m_Outcome.bLogRead = true;
    for (const char* pszLast : {pszLogPath, m_sSelfPath.GetText()})
    {
        TxString sFull;
        if (TxPlainFullPath(pszLast, sFull))
            m_Deferred.insert(UpperKey(sFull.GetText()));
    }

    RemovalScope scope = m_bScopeSet ? m_Scope : RemovalScope::ForLog(pszLogPath);
    RecordFilter filter(scope, log.Records());
    // Held before anything is removed, so that neither can be swapped for a
    // link while the removal runs.
    m_Held.Hold(scope.sProgramDir);
    for (const TxString& sImages : scope.ImageDirs)
        m_Held.Hold(sImages);
    CloseAgent();
    for (const InstallLogRecord& step : RemovalOrder(log.Records()))
        RemoveStep(step, filter);
    RemoveLastItems(pszLogPath, filter);
    m_Held.ReleaseAll();
    m_Report.ReportLine(m_Texts.Text(GLU_COMPLETE));
    return m_Outcome;
}

bool UninstallPlan::LoadLog(const char* pszLogPath, InstallLog& log)
{
    switch (log.Load(pszLogPath))
    {
    case InstallLog::LoadResult::Loaded:
        return true;
    case InstallLog::LoadResult::Missing:
        Report(GLU_UNINSTALL_FILE_NOT_FOUND_S, pszLogPath);
        break;
    case InstallLog::LoadResult::Unreadable:
        Report(GLU_CANNOT_READ_UNINSTALL_FILE_S, pszLogPath);
        break;
    }
    m_Report.ReportLine(m_Texts.Text(GLU_CANNOT_UNINSTALL));
    return false;
}

void UninstallPlan::CloseAgent()
{
    if (!AgentEventExists())
        return;
    m_Report.ReportLine(m_Texts.Text(GLU_CLOSING_AGENT));
    // An agent that does not go keeps its files; their removal reports that.
    RequestAgentClose(m_dwAgentWaitMs);
}

void UninstallPlan::RemoveStep(const InstallLogRecord& step, const RecordFilter& filter)
{
    AcceptedRecord item;
    if (!filter.Accept(step, item))
    {
        Skip(step.sText.GetText());
        return;
    }
    switch (step.Kind)
    {
    case LogItemKind::ProgramFile:
    case LogItemKind::ImageFile:
    case LogItemKind::Shortcut:
        if (!IsDeferred(item.sTarget))
            RemoveFile(item);
        break;
    case LogItemKind::Folder:
        RemoveFolder(item);
        break;
    case LogItemKind::Autorun:
        RemoveAutorun();
        break;
    case LogItemKind::UninstallEntry:
        RemoveUninstallEntry(item.sTarget.GetText());
        break;
    }
}

bool UninstallPlan::RootOf(const AcceptedRecord& item, HANDLE& hRoot)
{
    hRoot = nullptr;
    if (item.sRoot.IsEmpty())
        return true;
    hRoot = m_Held.Find(item.sRoot);
    if (hRoot != nullptr)
        return true;
    // A folder that is gone took its items along; one that is a link, or
    // was let go, is no place to remove anything from.
    DWORD dwError = GetLastError();
    if (dwError == ERROR_FILE_NOT_FOUND || dwError == ERROR_PATH_NOT_FOUND)
        Report(GLU_CANNOT_FIND_FILE_S, item.sTarget.GetText());
    else
        Skip(item.sTarget.GetText());
    return false;
}

void UninstallPlan::RemoveFile(const AcceptedRecord& item)
{
    HANDLE hRoot = nullptr;
    if (!RootOf(item, hRoot))
        return;
    const char* pszPath = item.sTarget.GetText();
    switch (RemoveFileItem(pszPath, hRoot))
    {
    case RemoveResult::Removed:
        Report(GLU_REMOVED_FILE_S, pszPath);
        break;
    case RemoveResult::NotFound:
        Report(GLU_CANNOT_FIND_FILE_S, pszPath);
        break;
    case RemoveResult::Refused:
        Skip(pszPath);
        break;
    default:
        ReportFailure(GLU_CANNOT_REMOVE_FILE_S, pszPath);
        break;
    }
}

void UninstallPlan::RemoveFolder(const AcceptedRecord& item)
{
    // The held folders go last, when nothing is left to remove in them.
    if (IsRoot(item))
    {
        m_FullFolders.push_back(item);
        return;
    }
    HANDLE hRoot = nullptr;
    if (!RootOf(item, hRoot))
        return;
    const char* pszPath = item.sTarget.GetText();
    switch (RemoveFolderItem(pszPath, hRoot))
    {
    case RemoveResult::Removed:
        Report(GLU_REMOVED_FOLDER_S, pszPath);
        break;
    case RemoveResult::NotFound:
        Report(GLU_CANNOT_FIND_FOLDER_S, pszPath);
        break;
    case RemoveResult::NotEmpty:
        // It may hold only the log or the uninstaller, which go at the end.
        m_FullFolders.push_back(item);
        break;
    case RemoveResult::Refused:
        Skip(pszPath);
        break;
    case RemoveResult::Failed:
        ReportFailure(GLU_CANNOT_REMOVE_FOLDER_S, pszPath);
        break;
    }
}

void UninstallPlan::RemoveAutorun()
{
    // The setup makes no other autorun value, whatever the record says.
    switch (RemoveRegistryValue(HKEY_LOCAL_MACHINE, REG_RUN_KEY, REG_AUTORUN_VALUE))
    {
    case RemoveResult::Removed:
        Report(GLU_REMOVED_REGISTRY_ITEM_S, REG_AUTORUN_VALUE);
        break;
    case RemoveResult::NotFound:
        Report(GLU_CANNOT_FIND_REGISTRY_ITEM_S, REG_AUTORUN_VALUE);
        break;
    default:
        ReportFailure(GLU_CANNOT_REMOVE_REGISTRY_ITEM_S, REG_AUTORUN_VALUE);
        break;
    }
}

void UninstallPlan::RemoveUninstallEntry(const char* pszName)
{
    std::string sKey = std::string(REG_UNINSTALL_ROOT) + pszName;
    switch (RemoveRegistryKey(HKEY_LOCAL_MACHINE, sKey.c_str()))
    {
    case RemoveResult::Removed:
        m_Report.ReportLine(m_Texts.Text(GLU_REMOVED_UNINSTALL));
        break;
    case RemoveResult::NotFound:
        Report(GLU_CANNOT_FIND_REGISTRY_ITEM_S, sKey.c_str());
        break;
    default:
        ++m_Outcome.iFailures;
        m_Report.ReportLine(m_Texts.Text(GLU_CANNOT_REMOVE_UNINSTALL));
        break;
    }
}

void UninstallPlan::RemoveLastItems(const char* pszLogPath, const RecordFilter& filter)
{
    // The log and the uninstaller's own file have no record of their own
    // that was checked: they must lie in the program folder like one.
    AcceptedRecord log;
    if (filter.AcceptProgramFile(pszLogPath, log))
        RemoveFile(log);
    else
        Skip(pszLogPath);
    RemoveSelf(filter);
    RemoveProductKey();
    RemoveVendorKeyIfEmpty();
    std::vector<AcceptedRecord> folders;
    folders.swap(m_FullFolders);
    for (const AcceptedRecord& folder : folders)
        RemoveFolderAgain(folder);
}

void UninstallPlan::RemoveSelf(const RecordFilter& filter)
{
    if (m_sSelfPath.IsEmpty())
        return;
    AcceptedRecord self;
    HANDLE hRoot = nullptr;
    if (!filter.AcceptProgramFile(m_sSelfPath.GetText(), self))
    {
        Skip(m_sSelfPath.GetText());
        return;
    }
    if (!RootOf(self, hRoot))
        return;
    const char* pszPath = self.sTarget.GetText();
    RemoveResult result = RemoveFileItem(pszPath, hRoot);
    if (result == RemoveResult::Refused)
        return Skip(pszPath);
    if (result != RemoveResult::Failed)
    {
        Report(result == RemoveResult::Removed ? GLU_REMOVED_FILE_S : GLU_CANNOT_FIND_FILE_S,
               pszPath);
        return;
    }
    // Windows keeps a running program's file; it can go at the next start.
    if (CheckItem(pszPath, false, hRoot, nullptr) != RemoveResult::Removed ||
        !ScheduleRemovalAtRestart(pszPath))
    {
        ReportFailure(GLU_CANNOT_REMOVE_FILE_S, pszPath);
        return;
    }
    m_Scheduled.insert(UpperKey(pszPath));
    Report(GLU_FILE_AT_RESTART_S, pszPath);
}

void UninstallPlan::RemoveProductKey()
{
    std::string sShown = std::string("HKEY_LOCAL_MACHINE\\") + PRODUCT_REG_KEY;
    switch (RemoveRegistryTree(HKEY_LOCAL_MACHINE, PRODUCT_REG_KEY))
    {
    case RemoveResult::Removed:
        Report(GLU_REMOVED_REGISTRY_ITEM_S, sShown.c_str());
        break;
    case RemoveResult::NotFound:
        break;
    default:
        ReportFailure(GLU_CANNOT_REMOVE_REGISTRY_ITEM_S, sShown.c_str());
        break;
    }
}

void UninstallPlan::RemoveVendorKeyIfEmpty()
{
    std::string sShown = std::string("HKEY_LOCAL_MACHINE\\") + VENDOR_REG_KEY;
    switch (RemoveEmptyRegistryKey(HKEY_LOCAL_MACHINE, VENDOR_REG_KEY))
    {
    case RemoveResult::Removed:
        Report(GLU_REMOVED_REGISTRY_ITEM_S, sShown.c_str());
        break;
    case RemoveResult::Failed:
        ReportFailure(GLU_CANNOT_REMOVE_REGISTRY_ITEM_S, sShown.c_str());
        break;
    default:
        break;
    }
}

void UninstallPlan::RemoveFolderAgain(const AcceptedRecord& item)
{
    const char* pszPath = item.sTarget.GetText();
    RemoveResult result;
    HANDLE hRoot = nullptr;
    TxEntryId id = {};
    bool bRoot = IsRoot(item);
    if (bRoot)
        result = m_Held.Release(item.sRoot, id) ? RemoveReleasedFolder(pszPath, id)
                                                : RemoveResult::Refused;
    else if (!RootOf(item, hRoot))
        return;
    else
        result = RemoveFolderItem(pszPath, hRoot);
    switch (result)
    {
    case RemoveResult::Removed:
        Report(GLU_REMOVED_FOLDER_S, pszPath);
        break;
    case RemoveResult::NotEmpty:
        // A folder that keeps the user's own files is left on purpose.
        if (!ScheduleFolder(item, hRoot, bRoot ? &id : nullptr))
            Report(GLU_CANNOT_REMOVE_FOLDER_S, pszPath);
        break;
    case RemoveResult::NotFound:
        Report(GLU_CANNOT_FIND_FOLDER_S, pszPath);
        break;
    case RemoveResult::Refused:
        Skip(pszPath);
        break;
    case RemoveResult::Failed:
        ReportFailure(GLU_CANNOT_REMOVE_FOLDER_S, pszPath);
        break;
    }
}

bool UninstallPlan::ScheduleFolder(const AcceptedRecord& item, HANDLE hRoot, const TxEntryId* pId)
{
    const char* pszPath = item.sTarget.GetText();
    if (!HoldsOnlyScheduled(pszPath) ||
        CheckItem(pszPath, true, hRoot, pId) != RemoveResult::Removed ||
        !ScheduleRemovalAtRestart(pszPath))
        return false;
    m_Scheduled.insert(UpperKey(pszPath));
    Report(GLU_FOLDER_AT_RESTART_S, pszPath);
    return true;
}

bool UninstallPlan::HoldsOnlyScheduled(const char* pszFolder) const
{
    if (m_Scheduled.empty())
        return false;
    WIN32_FIND_DATAA data;
    TxFindHandle find(FindFirstFileA(FolderChild(pszFolder, "*").c_str(), &data));
    if (!find.IsValid())
        return false;
    do
    {
        std::string sName(data.cFileName);
        if (sName == "." || sName == "..")
            continue;
        if (m_Scheduled.count(UpperKey(FolderChild(pszFolder, data.cFileName).c_str())) == 0)
            return false;
    } while (FindNextFileA(find.Get(), &data));
    return GetLastError() == ERROR_NO_MORE_FILES;
}

bool UninstallPlan::IsDeferred(const TxString& sPath) const
{
    return m_Deferred.count(UpperKey(sPath.GetText())) != 0;
}

void UninstallPlan::Skip(const char* pszText)
{
    ++m_Outcome.iSkipped;
    Report(GLU_SKIPPED_S, pszText);
}

void UninstallPlan::Report(UninstallTextId id, const char* pszArgument)
{
    m_Report.ReportLine(m_Texts.Format(id, pszArgument));
}

void UninstallPlan::ReportFailure(UninstallTextId id, const char* pszArgument)
{
    ++m_Outcome.iFailures;
    Report(id, pszArgument);
}
