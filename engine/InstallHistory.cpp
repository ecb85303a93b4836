#include "InstallHistory.h"

#include "CLog.h"
#include "InstallBackup.h"
#include "RegistryHelpers.h"
#include "TxSafeFile.h"

#include <memory>

CInstallHistory g_History;

void CInstallHistory::Record(int iKind, const char* pszPath, const TxFileInfo* pFileInfo)
{
    std::unique_ptr<CHistoryItem> pItem(new CHistoryItem());
    pItem->sPath = pszPath;
    if (pFileInfo != nullptr)
        pItem->FileInfo = *pFileInfo;
    pItem->Kind = iKind;
    Insert(pItem.get());
    pItem.release();
}

// Through a handle on the entry itself: a link put in its place since is
// left alone, never followed. Read-only files go too (installed files carry
// the attributes they were packed with); a folder goes only when empty.
static void DeleteCreated(const char* pszPath, TxEntryKind kind)
{
    TxFileHandle hEntry = TxOpenEntry(pszPath, kind, TX_ACCESS_REMOVE, TX_SHARE_ALL);
    if (hEntry.IsValid() && TxDeleteEntry(hEntry.Get()))
        return;
    DWORD dwError = GetLastError();
    if (dwError == TX_ERROR_LINK)
        TX_LOG("RollBack - not deleting %s: it is a link", pszPath);
    // A folder that holds what the run did not make stays, as does what is
    // gone already.
    else if (dwError != ERROR_FILE_NOT_FOUND && dwError != ERROR_PATH_NOT_FOUND &&
             dwError != ERROR_DIR_NOT_EMPTY)
        TX_LOG("RollBack - deleting %s failed: error=%lu", pszPath, dwError);
}

static void UndoItem(const CHistoryItem& item)
{
    switch (item.Kind)
    {
    case PRGFILE:
    case IMGFILE:
    case LNKFILE:
        TX_LOG("Deleting file %s", item.sPath.GetText());
        DeleteCreated(item.sPath.GetText(), TX_ENTRY_FILE);
        break;
    case FOLDER:
        TX_LOG("Removing directory %s", item.sPath.GetText());
        DeleteCreated(item.sPath.GetText(), TX_ENTRY_FOLDER);
        break;
    case AUTORUN:
        TX_LOG("Removing agent from registry startup.");
        RemoveAutorun(REG_AUTORUN_VALUE);
        break;
    case UNINST:
        TX_LOG("Removing uninstall info %s", item.sPath.GetText());
        RemoveUninstallInfo(item.sPath.GetText());
        break;
    default:
        break;
    }
}

void RollBack()
{
    TX_LOG_ENTER("RollBack");
    for (int i = g_History.GetCount() - 1; i >= 0; --i)
        UndoItem(*g_History.ItemAt(i));
    RestoreKept();
    TX_LOG_LEAVE();
}
