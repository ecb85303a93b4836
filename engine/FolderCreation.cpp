#include "FolderCreation.h"

#include "FolderSecurity.h"
#include "InstallHistory.h"
#include "TxDiskApi.h"

#include <vector>

namespace
{
// The missing levels of pszFolder, innermost first.
std::vector<TxString> MissingLevels(const char* pszFolder)
{
    std::vector<TxString> levels;
    TxString sFolder = PlainFolderPath(pszFolder);
    while (!sFolder.IsEmpty() && !DirectoryExists(sFolder.GetText()))
    {
        levels.push_back(sFolder);
        int p = sFolder.Find("\\", false, true, 1);
        if (p <= 3)
            break;
        TxString sParent;
        sFolder.SubString(1, p - 1, sParent);
        sFolder = sParent;
    }
    return levels;
}
} // namespace

bool CreateFolderRecorded(const char* pszFolder, const SECURITY_ATTRIBUTES* psa)
{
    std::vector<TxString> levels = MissingLevels(pszFolder);
    bool bCreated = ForceDirectories(pszFolder, psa);
    for (auto it = levels.rbegin(); it != levels.rend(); ++it)
    {
        if (DirectoryExists(it->GetText()))
            g_History.Record(FOLDER, it->GetText());
    }
    return bCreated;
}

bool CreateProgramFolderRecorded(const char* pszFolder)
{
    CFolderSecurity security(FOLDER_FOR_PROGRAMS);
    return security.Attributes() != nullptr &&
           CreateFolderRecorded(pszFolder, security.Attributes());
}
