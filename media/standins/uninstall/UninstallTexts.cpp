#include "UninstallTexts.h"

#include "ProductNames.h"
#include "RegistryValues.h"
#include "TxFormat.h"

namespace
{
struct TextEntry
{
    const char* pszKey;
    const char* pszEnglish;
};

// In UninstallTextId order.
const TextEntry TEXTS[GLU_COUNT] = {
    {"glu_Caption", "Quorvane Uninstall Program"},
    {"glu_Usage", "This uninstallation program will remove the Quorvane wallpaper changer and "
                  "screensaver from your PC."},
    {"glu_Complete", "Uninstallation Complete"},
    {"glu_Start", "Start"},
    {"glu_Cancel", "Cancel"},
    {"glu_Close", "Close"},
    {"glu_CannotUninstall", "Cannot uninstall."},
    {"glu_UninstallFileNotFoundS", "The installation history file is missing: %s"},
    {"glu_CannotReadUninstallFileS", "Cannot read the installation history file: %s"},
    {"glu_RemovedFolderS", "Removed folder %s"},
    {"glu_RemovedFileS", "Deleted file %s"},
    {"glu_RemovedRegistryItemS", "Removed Registry value %s"},
    {"glu_CannotRemoveFileS", "Cannot delete file %s"},
    {"glu_FileModifiedS", "File %s was modified - not deleted."},
    {"glu_CannotFindFileS", "File %s not found."},
    {"glu_CannotRemoveFolderS", "Cannot remove folder %s."},
    {"glu_CannotFindFolderS", "Folder %s not found."},
    {"glu_CannotFindRegistryItemS", "Cannot find Registry value %s."},
    {"glu_CannotRemoveRegistryItemS", "Cannot remove Registry value %s."},
    {"glu_ClosingAgent", "Stopping Quorvane Agent..."},
    {"glu_RemovedUninstall", "Removed uninstall info from Registry."},
    {"glu_CannotRemoveUninstall", "Cannot remove uninstall info from Registry."},
    {"glu_FileAtRestartS", "File %s will be deleted when Windows restarts."},
    {"glu_FolderAtRestartS", "Folder %s will be removed when Windows restarts."},
    {"glu_SkippedS", "Skipped %s: not made by the installation."},
};
} // namespace

UninstallTexts::UninstallTexts()
{
    for (int i = 0; i < GLU_COUNT; ++i)
        m_Texts[i] = TEXTS[i].pszEnglish;
}

void UninstallTexts::LoadFromRegistry()
{
    for (int i = 0; i < GLU_COUNT; ++i)
    {
        TxString sText;
        if (ReadRegistryString(HKEY_LOCAL_MACHINE, LANGUAGE_REG_KEY, TEXTS[i].pszKey, sText) &&
            !sText.IsEmpty())
            m_Texts[i] = sText;
    }
}

TxString UninstallTexts::Format(UninstallTextId id, const char* pszArgument) const
{
    return TxFormat(m_Texts[id].GetText(), {pszArgument});
}

const char* UninstallTexts::KeyName(UninstallTextId id)
{
    return TEXTS[id].pszKey;
}
