#include "FolderNames.h"

#include <cstring>
#include <windows.h>

bool IsValidFolderName(const char* pszName)
{
    if (pszName == nullptr || *pszName == 0)
        return false;
    for (const char* p = pszName; *p != 0; ++p)
    {
        unsigned char ch = static_cast<unsigned char>(*p);
        if (ch < 32 || std::strchr("\\/:*?\"<>|", ch) != nullptr)
            return false;
    }
    return true;
}

TxString DisplayFolderName(const char* pszName)
{
    TxString sName(pszName);
    if (sName.Length() < 2)
        return sName;
    TxString sUpper(sName);
    CharUpperBuffA(sUpper.CharAt(1), static_cast<DWORD>(sUpper.Length()));
    if (!sUpper.IsEqual(sName))
        return sName;
    CharLowerBuffA(sName.CharAt(2), static_cast<DWORD>(sName.Length() - 1));
    return sName;
}

TxString DriveNodeText(char chLetter, const char* pszLabel)
{
    char szRoot[] = {chLetter, ':', '\\', ' ', ' ', 0};
    TxString sText(szRoot);
    sText.Append(pszLabel);
    return sText;
}

bool CutProductFolder(TxString& sPath, const char* pszFolderName)
{
    int p = sPath.Find(pszFolderName, true, true, 1);
    if (p < 2)
        return false;
    sPath.SetLength(p - 2);
    return true;
}

void RestoreProductFolder(TxString& sPath, const char* pszFolderName)
{
    sPath.AddBackslash();
    sPath.Append(pszFolderName);
}

TxString TrimTargetFolder(const char* pszText)
{
    TxString sFolder(pszText);
    sFolder.Trim();
    sFolder.RemoveBackslash();
    return sFolder;
}
