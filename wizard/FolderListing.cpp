#include "FolderListing.h"

#include "CLog.h"
#include "FolderNames.h"
#include "TxFindFile.h"
#include "TxPaths.h"

#include <cstring>

namespace
{
constexpr int VOLUME_LABEL_SIZE = 250;

TxString VolumeLabel(const char* pszRoot)
{
    char szLabel[VOLUME_LABEL_SIZE] = "";
    if (!GetVolumeInformationA(pszRoot, szLabel, sizeof(szLabel), nullptr, nullptr, nullptr,
                               nullptr, 0))
        return TxString();
    return TxString(szLabel);
}

bool IsListedFolder(const WIN32_FIND_DATAA& data)
{
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0)
        return false;
    return std::strcmp(data.cFileName, ".") != 0 && std::strcmp(data.cFileName, "..") != 0;
}
} // namespace

CSilentCriticalErrors::CSilentCriticalErrors() : m_uOldMode(SetErrorMode(SEM_FAILCRITICALERRORS)) {}

CSilentCriticalErrors::~CSilentCriticalErrors()
{
    SetErrorMode(m_uOldMode);
}

std::vector<TxString> ListDrives(DWORD dwDrives)
{
    std::vector<TxString> drives;
    for (char chLetter = 'C'; chLetter <= 'Z'; ++chLetter)
    {
        if ((dwDrives & (1u << (chLetter - 'A'))) == 0)
            continue;
        char szRoot[] = {chLetter, ':', '\\', 0};
        drives.push_back(DriveNodeText(chLetter, VolumeLabel(szRoot).GetText()));
    }
    return drives;
}

std::vector<TxString> ListSubfolders(const char* pszPath)
{
    std::vector<TxString> names;
    TxFindFile find;
    for (bool bFound = find.FindFirst(pszPath, "*"); bFound; bFound = find.FindNext())
    {
        const WIN32_FIND_DATAA& data = find.GetFindData();
        if (IsListedFolder(data))
            names.push_back(DisplayFolderName(data.cFileName));
    }
    return names;
}

bool CreateChildFolder(const char* pszParent, const char* pszName, TxString& sPath)
{
    sPath = TxJoinPath(pszParent, pszName);
    if (CreateDirectoryA(sPath.GetText(), nullptr))
        return true;
    DWORD dwError = GetLastError();
    TX_LOG("CreateChildFolder - CreateDirectoryA failed: path=%s, error=%lu", sPath.GetText(),
           dwError);
    return false;
}
