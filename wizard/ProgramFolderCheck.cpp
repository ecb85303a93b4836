#include "ProgramFolderCheck.h"

#include "CLog.h"
#include "StringTables.h"
#include "TxFormat.h"

#include <windows.h>

namespace
{
bool Refuse(IMessageView& view, const TxString& sText, const TxString& sCaption)
{
    view.ShowMessage(sText.GetText(), sCaption.GetText(), MB_OK | MB_ICONEXCLAMATION);
    return false;
}
} // namespace

bool AcceptProgramFolder(IProgramFolder& folder, IMessageView& view, const char* pszDstDir)
{
    switch (folder.Inspect(pszDstDir))
    {
    case FOLDER_ABSENT:
    case FOLDER_ADMINS_ONLY:
        return true;
    case FOLDER_LINK:
        TX_LOG("AcceptProgramFolder - the program folder is a link: %s", pszDstDir);
        return Refuse(view, TxFormat(gls_FolderIsLinkS.GetText(), {pszDstDir}), gls_CannotInstall);
    case FOLDER_OPEN_TO_OTHERS:
        break;
    }
    TX_LOG("AcceptProgramFolder - other users may change the program folder: %s", pszDstDir);
    TxString sQuestion = TxFormat(gls_FolderOpenToOthersS.GetText(), {pszDstDir});
    if (view.ShowMessage(sQuestion.GetText(), gls_UnprotectedFolder.GetText(),
                         MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return false;
    // Taken only when the rights read back as asked for.
    if (folder.LockForPrograms(pszDstDir) && folder.Inspect(pszDstDir) == FOLDER_ADMINS_ONLY)
        return true;
    TX_LOG("AcceptProgramFolder - the program folder could not be locked: %s", pszDstDir);
    return Refuse(view, TxFormat(gls_FolderNotLockedS.GetText(), {pszDstDir}), gls_Error);
}
