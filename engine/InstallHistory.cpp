#include "InstallHistory.h"

#include "CLog.h"
#include "InstallBackup.h"
#include "RegistryHelpers.h"
#include "TxPaths.h"

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

// Installed files carry the attributes they were packed with; a read-only
// one would otherwise survive the rollback.
static void DeleteInstalledFile(const char* pszPath)
{
    TxClearReadOnly(pszPath);
    DeleteFileA(pszPath);
}

static void UndoItem(const CHistoryItem& item)
{
    switch (item.Kind)
    {
    case PRGFILE:
    case IMGFILE:
    case LNKFILE:
        TX_LOG("Deleting file %s", item.sPath.GetText());
        DeleteInstalledFile(item.sPath.GetText());
        break;
    case FOLDER:
        TX_LOG("Removing directory %s", item.sPath.GetText());
        RemoveDirectoryA(item.sPath.GetText());
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
