#include "UninstallPlan.h"

#include "AgentCloseRequest.h"
#include "ItemRemoval.h"
#include "ProductNames.h"
#include "TxHandles.h"
#include "TxPaths.h"

namespace
{
constexpr DWORD DEFAULT_AGENT_WAIT_MS = 3000;
// The maker's key above the product's: the setup's registry writes create it,
// the maker's other products may share it.

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
    {
        std::string sKey = KindGroup(it->Kind) + UpperKey(it->sText.GetText());
        if (seen.insert(sKey).second)
            order.push_back(*it);
    }
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
    m_Deferred.insert(UpperKey(pszLogPath));
    if (!m_sSelfPath.IsEmpty())
        m_Deferred.insert(UpperKey(m_sSelfPath.GetText()));

    RemovalScope scope = m_bScopeSet ? m_Scope : RemovalScope::ForLog(pszLogPath);
    RecordFilter filter(scope, log.Records());
    CloseAgent();
    for (const InstallLogRecord& step : RemovalOrder(log.Records()))
        RemoveStep(step, filter);
    RemoveLastItems(pszLogPath);
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
    TxString sTarget;
    if (!filter.Accept(step, sTarget))
    {
        ++m_Outcome.iSkipped;
        Report(GLU_SKIPPED_S, step.sText.GetText());
        return;
    }
    const char* pszText = sTarget.GetText();
    switch (step.Kind)
    {
    case LogItemKind::ProgramFile:
    case LogItemKind::ImageFile:
    case LogItemKind::Shortcut:
        if (!IsDeferred(pszText))
            RemoveFile(pszText);
        break;
    case LogItemKind::Folder:
        RemoveFolder(pszText);
        break;
    case LogItemKind::Autorun:
        RemoveAutorun();
        break;
    case LogItemKind::UninstallEntry:
        RemoveUninstallEntry(pszText);
        break;
    }
}

void UninstallPlan::RemoveFile(const char* pszPath)
{
    switch (RemoveFileItem(pszPath))
    {
    case RemoveResult::Removed:
        Report(GLU_REMOVED_FILE_S, pszPath);
        break;
    case RemoveResult::NotFound:
        Report(GLU_CANNOT_FIND_FILE_S, pszPath);
        break;
    default:
        ReportFailure(GLU_CANNOT_REMOVE_FILE_S, pszPath);
        break;
    }
}

void UninstallPlan::RemoveFolder(const char* pszPath)
{
    switch (RemoveFolderItem(pszPath))
    {
    case RemoveResult::Removed:
        Report(GLU_REMOVED_FOLDER_S, pszPath);
        break;
    case RemoveResult::NotFound:
        Report(GLU_CANNOT_FIND_FOLDER_S, pszPath);
        break;
    case RemoveResult::NotEmpty:
        // It may hold only the log or the uninstaller, which go at the end.
        m_FullFolders.push_back(pszPath);
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

void UninstallPlan::RemoveLastItems(const char* pszLogPath)
{
    RemoveFile(pszLogPath);
    RemoveSelf();
    RemoveProductKey();
    RemoveVendorKeyIfEmpty();
    std::vector<std::string> folders;
    folders.swap(m_FullFolders);
    for (const std::string& sFolder : folders)
        RemoveFolderAgain(sFolder);
}

void UninstallPlan::RemoveSelf()
{
    if (m_sSelfPath.IsEmpty())
        return;
    const char* pszPath = m_sSelfPath.GetText();
    RemoveResult result = RemoveFileItem(pszPath);
    if (result != RemoveResult::Failed)
    {
        Report(result == RemoveResult::Removed ? GLU_REMOVED_FILE_S : GLU_CANNOT_FIND_FILE_S,
               pszPath);
        return;
    }
    // Windows keeps a running program's file; it can go at the next start.
    if (!ScheduleRemovalAtRestart(pszPath))
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

void UninstallPlan::RemoveFolderAgain(const std::string& sPath)
{
    const char* pszPath = sPath.c_str();
    RemoveResult result = RemoveFolderItem(pszPath);
    if (result == RemoveResult::Removed)
    {
        Report(GLU_REMOVED_FOLDER_S, pszPath);
        return;
    }
    if (result == RemoveResult::NotEmpty && HoldsOnlyScheduled(pszPath) &&
        ScheduleRemovalAtRestart(pszPath))
    {
        m_Scheduled.insert(UpperKey(pszPath));
        Report(GLU_FOLDER_AT_RESTART_S, pszPath);
        return;
    }
    // A folder that keeps the user's own files is left on purpose.
    if (result == RemoveResult::NotEmpty)
        Report(GLU_CANNOT_REMOVE_FOLDER_S, pszPath);
    else if (result == RemoveResult::NotFound)
        Report(GLU_CANNOT_FIND_FOLDER_S, pszPath);
    else
        ReportFailure(GLU_CANNOT_REMOVE_FOLDER_S, pszPath);
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

bool UninstallPlan::IsDeferred(const char* pszPath) const
{
    return m_Deferred.count(UpperKey(pszPath)) != 0;
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
