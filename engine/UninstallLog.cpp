#include "UninstallLog.h"

#include "CLog.h"
#include "FolderSecurity.h"
#include "InstallBackup.h"
#include "InstallHistory.h"
#include "RegistryHelpers.h"
#include "SetupState.h"
#include "StringTables.h"
#include "TxDiskApi.h"
#include "TxException.h"
#include "TxFaultInjection.h"
#include "TxFile.h"
#include "TxFormat.h"
#include "TxPrint.h"
#include "TxRandomName.h"
#include "TxSafeFile.h"

#include <cstring>
#include <utility>
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

bool NameTaken()
{
    DWORD dwError = GetLastError();
    return dwError == ERROR_FILE_EXISTS || dwError == ERROR_ALREADY_EXISTS;
}

// The name of pszPath's file with ".<random>" before its extension
// ("Install.log" gives "Install.<tag><hex>.log" for a tag); empty when the
// system gives no random name.
TxString NameBeside(const char* pszPath, const char* pszTag)
{
    const char* pszName = std::strrchr(pszPath, '\\');
    pszName = pszName != nullptr ? pszName + 1 : pszPath;
    const char* pszDot = std::strrchr(pszName, '.');
    TxString sStem(pszName);
    sStem.SetLength(pszDot != nullptr ? static_cast<int>(pszDot - pszName) : sStem.Length());
    sStem.Append(".");
    sStem.Append(pszTag);
    return TxRandomName(sStem.GetText(), pszDot != nullptr ? pszDot : "");
}

// The folder part of a path, without the separator ("" for a bare name).
TxString FolderPart(const TxString& sPath)
{
    const char* pszSlash = std::strrchr(sPath.GetText(), '\\');
    TxString sFolder(sPath);
    sFolder.SetLength(pszSlash != nullptr ? static_cast<int>(pszSlash - sPath.GetText()) : 0);
    return sFolder;
}

// Why an existing log, opened as it stands, is not appended to, or null
// when it may be.
const char* Refusal(HANDLE hLog)
{
    if (TxHasOtherNames(hLog))
        return "it has further names (hard links)";
    if (!HasTrustedOwner(hLog))
        return "it is not owned by an administrator";
    return nullptr;
}

// Moves the refused entry at sPath aside under a name of its own, through a
// handle on the entry itself; false when the system cannot give one.
bool MoveAside(const TxString& sPath, TxFileHandle& hLog, TxString& sAside)
{
    TxString sFolder = FolderPart(sPath);
    if (!hLog.IsValid())
        hLog = TxOpenLinkItself(sPath.GetText(), TX_ACCESS_REMOVE);
    TxFileHandle hFolder =
        TxOpenEntry(sFolder.GetText(), TX_ENTRY_FOLDER, FILE_LIST_DIRECTORY, TX_SHARE_ALL);
    sAside = NameBeside(sPath.GetText(), "rejected.");
    bool bMoved = hLog.IsValid() && hFolder.IsValid() &&
                  TxMoveEntry(hLog.Get(), hFolder.Get(), sAside.GetText());
    hLog.Reset();
    return bMoved;
}

// "Install.log" to append to, opened without following a link. A log that
// is a link, has further names or is not owned by an administrator may lead
// the append elsewhere or hold what another user wrote for the elevated
// uninstaller: it is moved aside under a name of its own and a new log is
// started under the name the uninstaller reads. Where it cannot be moved
// (Wine gives no handle on a Unix link itself), the new log is started
// beside it under a name of its own, which sPath then holds, and the
// uninstaller, reading "Install.log" only, does not see it.
TxFileHandle OpenLogForAppend(TxString& sPath)
{
    const DWORD dwAccess = GENERIC_READ | GENERIC_WRITE | DELETE;
    // The log's creation is a counted file creation, as TxFile's own.
    if (TX_FAULT(TXFAULT_CREATE))
        return TxFileHandle();
    TxFileHandle hLog = TxCreateNewFile(sPath.GetText(), dwAccess, 0);
    if (hLog.IsValid() || !NameTaken())
        return hLog;
    hLog = TxOpenEntry(sPath.GetText(), TX_ENTRY_FILE, dwAccess, 0);
    // A log that cannot be opened for another reason fails as before.
    if (!hLog.IsValid() && GetLastError() != TX_ERROR_LINK)
        return hLog;
    const char* pszRefusal = hLog.IsValid() ? Refusal(hLog.Get()) : "it is a link";
    if (pszRefusal == nullptr)
        return hLog;
    TxString sAside;
    if (MoveAside(sPath, hLog, sAside))
    {
        TX_LOG("AppendInstallLogBlock - refused %s: %s; moved it aside as %s, starting a new one",
               sPath.GetText(), pszRefusal, sAside.GetText());
        return TxCreateNewFile(sPath.GetText(), dwAccess, 0);
    }
    DWORD dwError = GetLastError();
    TxString sBeside =
        JoinPath(FolderPart(sPath).GetText(), NameBeside(sPath.GetText(), "").GetText());
    TX_LOG("AppendInstallLogBlock - refused %s: %s; cannot move it aside (error %lu), "
           "writing the log to %s",
           sPath.GetText(), pszRefusal, dwError, sBeside.GetText());
    sPath = sBeside;
    return TxCreateNewFile(sPath.GetText(), dwAccess, 0);
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
    TxString sPath(pszPath);
    TxFileHandle hLog = OpenLogForAppend(sPath);
    TxFile file(std::move(hLog), sPath.GetText(), false);
    file.Seek(file.GetSize());
    file.Write(block.data(), static_cast<DWORD>(block.size()));
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
