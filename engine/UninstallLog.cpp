#include "UninstallLog.h"

#include "CLog.h"
#include "InstallBackup.h"
#include "InstallHistory.h"
#include "RegistryHelpers.h"
#include "SetupState.h"
#include "StringTables.h"
#include "TxDiskApi.h"
#include "TxException.h"
#include "TxFile.h"
#include "TxFormat.h"
#include "TxPrint.h"

#include <cstring>
#include <memory>
#include <vector>

namespace
{
// The text of a record line: the path, or the fixed name for registry items.
const char* RecordText(const CHistoryItem& item)
{
    if (item.Kind == AUTORUN)
        return REG_AUTORUN_VALUE;
    if (item.Kind == UNINST)
        return UNINSTALL_ENTRY_NAME;
    return item.sPath.GetText();
}

std::unique_ptr<TxFile> OpenLogForAppend(const char* pszPath)
{
    bool bExists = FileExists(pszPath);
    std::unique_ptr<TxFile> pFile(new TxFile(pszPath, false, !bExists));
    if (bExists)
        pFile->Seek(pFile->GetSize());
    return pFile;
}

void RegisterUninstallEntry()
{
    TxString sDisplayName = TxFormat(gls_QuorvaneDD.GetText(), {1, 4});
    UninstallInfo info;
    info.sName = UNINSTALL_ENTRY_NAME;
    info.sDisplayName = sDisplayName;
    // Quoted: the folder usually holds spaces, and an unquoted command could
    // start "C:\Program.exe" instead.
    info.sUninstallCommand = "\"";
    info.sUninstallCommand.Append(JoinPath(g_sDstDir.GetText(), "Uninstall.exe"));
    info.sUninstallCommand.Append("\"");
    info.sDisplayIcon = JoinPath(g_sDstDir.GetText(), "QvManag.exe");
    TxString sKey(REG_UNINSTALL_ROOT);
    sKey.Append(UNINSTALL_ENTRY_NAME);
    for (const char* pszValue : {"DisplayName", "DisplayIcon", "UninstallString"})
        KeepRegistryValue(HKEY_LOCAL_MACHINE, sKey.GetText(), pszValue);
    if (AddUninstallInfo(info))
        g_History.Record(UNINST, UNINSTALL_ENTRY_NAME);
    else
        TX_LOG("Adding uninstall info failed.");
}

// A byte buffer rather than std::string: the string's out-of-line members
// would add tens of KiB to Setup.exe.
void Put(std::vector<char>& block, const char* pszText)
{
    block.insert(block.end(), pszText, pszText + std::strlen(pszText));
}
} // namespace

const char* HistoryRecordTag(int iKind)
{
    switch (iKind)
    {
    case PRGFILE:
        return LOG_TAG_PRGFILE;
    case IMGFILE:
        return LOG_TAG_IMGFILE;
    case FOLDER:
        return LOG_TAG_FOLDER;
    case AUTORUN:
        return LOG_TAG_AUTORUN;
    case LNKFILE:
        return LOG_TAG_LNKFILE;
    case UNINST:
        return LOG_TAG_UNINST;
    default:
        return nullptr;
    }
}

void AppendInstallLogBlock(const char* pszPath, const SYSTEMTIME& st)
{
    std::vector<char> block;
    for (int i = 0; i < g_History.GetCount(); ++i)
    {
        const CHistoryItem& item = *g_History.ItemAt(i);
        const char* pszTag = HistoryRecordTag(item.Kind);
        if (pszTag == nullptr)
            continue;
        Put(block, pszTag);
        Put(block, RecordText(item));
        Put(block, "\r\n");
    }
    char szTime[64];
    TxPrint(szTime, sizeof(szTime), "%s%.2d.%.2d.%.4d %.2d:%.2d\r\n\r\n", LOG_TAG_TIME, st.wDay,
            st.wMonth, st.wYear, st.wHour, st.wMinute);
    Put(block, szTime);
    std::unique_ptr<TxFile> pFile = OpenLogForAppend(pszPath);
    pFile->Write(block.data(), static_cast<DWORD>(block.size()));
}

void SaveUninstallInfo()
{
    TX_LOG_ENTER("TFormStepBye::SaveUninstallInfo");
    try
    {
        ExportLanguageToRegistry();
        ExportUninstallTextsToRegistry();
        TxString sLogPath = JoinPath(g_sDstDir.GetText(), INSTALL_LOG_NAME);
        g_History.Record(PRGFILE, sLogPath.GetText());
        RegisterUninstallEntry();
        SYSTEMTIME st;
        GetLocalTime(&st);
        AppendInstallLogBlock(sLogPath.GetText(), st);
    }
    catch (const ExNormal& e)
    {
        TX_LOG("Exception catched: %s", e.Message().GetText());
    }
    TX_LOG_LEAVE();
}
