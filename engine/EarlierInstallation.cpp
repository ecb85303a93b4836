#include "EarlierInstallation.h"

#include "CLog.h"
#include "ProductNames.h"
#include "RegistryHelpers.h"
#include "SetupState.h"
#include "TxDiskApi.h"
#include "TxException.h"
#include "TxTextFile.h"

#include <cstring>

bool EarlierInstallationComplete()
{
    TxString sFolder;
    if (!RegistryGetString(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, INSTALLED_PRG_DIR_VALUE, sFolder))
        return false;
    TxString sLog = JoinPath(sFolder.GetText(), INSTALL_LOG_NAME);
    if (!FileExists(sLog.GetText()))
        return false;
    TxStringCollection lines;
    try
    {
        TxTextFile file(sLog.GetText(), true);
        file.ReadLines(lines);
    }
    catch (const ExNormal& e)
    {
        TX_LOG("EarlierInstallationComplete - cannot read %s: %s", sLog.GetText(), e.what());
        return false;
    }
    int iFiles = 0;
    for (int i = 0; i < lines.GetCount(); ++i)
    {
        const char* pszLine = lines.StringAt(i)->GetText();
        if (std::strncmp(pszLine, LOG_TAG_PRGFILE, INSTALL_LOG_TAG_LENGTH) != 0)
            continue;
        const char* pszFile = pszLine + INSTALL_LOG_TAG_LENGTH;
        if (!FileExists(pszFile))
        {
            TX_LOG("EarlierInstallationComplete - missing: %s", pszFile);
            return false;
        }
        ++iFiles;
    }
    return iFiles > 0;
}
