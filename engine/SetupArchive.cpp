#include "SetupArchive.h"

#include "CLog.h"
#include "CSetupDatFile.h"
#include "IMessageView.h"
#include "SetupState.h"
#include "StringTables.h"
#include "TxDiskApi.h"
#include "TxFormat.h"

namespace
{
void ReportMissing(IMessageView& view, const TxString& sPath)
{
    TX_LOG("File %s not found! Aborting installation.", sPath.GetText());
    view.ShowMessage(TxFormat(gls_FileNotFoundS.GetText(), {sPath}).GetText(), gls_Error.GetText(),
                     MB_OK | MB_ICONEXCLAMATION);
}
} // namespace

bool OpenSetupArchive(CSetupDatFile& archive, IMessageView& view)
{
    g_qwPrgSize = 0;
    TxString sArchive = JoinPath(g_sSetupDir.GetText(), SETUP_ARCHIVE_NAME);
    if (!FileExists(sArchive.GetText()))
    {
        ReportMissing(view, sArchive);
        return false;
    }
    if (!archive.OpenDatFile(sArchive.GetText()))
    {
        TX_LOG("File %s cannot be open! Aborting installation.", sArchive.GetText());
        view.ShowMessage(TxFormat("%s: %s", {gls_CopyError, sArchive}).GetText(),
                         gls_Error.GetText(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    for (int i = 0; i < g_InstallFiles.GetCount(); ++i)
    {
        CInstallFile& file = *g_InstallFiles.FileAt(i);
        if (!archive.FindPackageFile(file.sDstName.GetText(), &file.FileInfo))
        {
            ReportMissing(view, JoinPath(g_sSetupDir.GetText(), file.sSrcName.GetText()));
            return false;
        }
        g_qwPrgSize += file.FileInfo.m_qwSize;
    }
    return true;
}
