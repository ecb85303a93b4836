#include "RemovalScope.h"

#include "ProductNames.h"
#include "RegistryValues.h"
#include "TxPlainPath.h"

#include <shlobj.h>
#include <string>
#include <windows.h>

namespace
{
constexpr char SHORTCUT_NAME[] = "Quorvane Manager.lnk";
constexpr char SCREEN_SAVER_NAME[] = "Quorvane.scr";

std::string Upper(const TxString& s)
{
    TxString sUpper(s);
    sUpper.ToUpper();
    return sUpper.GetText();
}

// A folder without its closing backslash, unless it is a drive's root.
std::string FolderKey(const TxString& sFolder)
{
    std::string s = Upper(sFolder);
    if (s.size() > 3 && s.back() == '\\')
        s.pop_back();
    return s;
}

bool SameFolder(const TxString& a, const TxString& b)
{
    return !a.IsEmpty() && !b.IsEmpty() && FolderKey(a) == FolderKey(b);
}

TxString ParentFolder(const TxString& sPath)
{
    std::string s = sPath.GetText();
    size_t n = s.rfind('\\');
    if (n == std::string::npos)
        return TxString();
    // Keep the backslash of a drive's root.
    return TxString(s.substr(0, n == 2 ? 3 : n).c_str());
}

std::string FileName(const TxString& sPath)
{
    std::string s = sPath.GetText();
    return s.substr(s.rfind('\\') + 1);
}

TxString SpecialFolder(int iCsidl)
{
    char szPath[MAX_PATH + 1] = "";
    if (FAILED(SHGetFolderPathA(nullptr, iCsidl, nullptr, 0, szPath)))
        return TxString();
    return TxString(szPath);
}

// Only an administrator writes HKLM: these name the image folders even when
// the log has been changed.
void AddImageDir(std::vector<TxString>& dirs, const TxString& sFolder)
{
    TxString sPlain(sFolder);
    sPlain.RemoveBackslash();
    TxString sFull;
    if (!TxPlainFullPath(sPlain.GetText(), sFull))
        return;
    for (const TxString& sKnown : dirs)
        if (SameFolder(sKnown, sFull))
            return;
    dirs.push_back(sFull);
}
} // namespace

RemovalScope RemovalScope::ForLog(const char* pszLogPath)
{
    RemovalScope scope;
    char szFull[MAX_PATH * 2];
    DWORD n = GetFullPathNameA(pszLogPath, sizeof(szFull), szFull, nullptr);
    if (n > 0 && n < sizeof(szFull))
        scope.sProgramDir = ParentFolder(TxString(szFull));
    TxString sImages;
    if (ReadRegistryString(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, INSTALLED_IMG_DIR_VALUE, sImages))
        AddImageDir(scope.ImageDirs, sImages);
    std::vector<TxString> earlier;
    ReadRegistryStrings(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, INSTALLED_IMG_DIRS_VALUE, earlier);
    for (const TxString& sFolder : earlier)
        AddImageDir(scope.ImageDirs, sFolder);
    char szSystem[MAX_PATH + 1];
    n = GetSystemDirectoryA(szSystem, sizeof(szSystem));
    if (n > 0 && n < sizeof(szSystem))
        scope.sSystemDir = szSystem;
    for (int iCsidl : {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS, CSIDL_COMMON_DESKTOPDIRECTORY,
                       CSIDL_DESKTOPDIRECTORY})
    {
        TxString sFolder = SpecialFolder(iCsidl);
        if (!sFolder.IsEmpty())
            scope.ShortcutDirs.push_back(sFolder);
    }
    return scope;
}

bool IsInsideFolder(const TxString& sPath, const TxString& sFolder)
{
    if (sFolder.IsEmpty())
        return false;
    std::string sKey = FolderKey(sFolder);
    std::string s = Upper(sPath);
    if (s.size() <= sKey.size() + 1 || s.compare(0, sKey.size(), sKey) != 0)
        return false;
    return sKey.back() == '\\' || s[sKey.size()] == '\\';
}

RecordFilter::RecordFilter(const RemovalScope& scope, const std::vector<InstallLogRecord>& records)
    : m_Scope(scope), m_Records(records)
{
}

bool RecordFilter::Accept(const InstallLogRecord& record, AcceptedRecord& accepted) const
{
    const char* pszText = record.sText.GetText();
    accepted.sRoot = "";
    switch (record.Kind)
    {
    case LogItemKind::Autorun:
        accepted.sTarget = REG_AUTORUN_VALUE;
        return lstrcmpiA(pszText, REG_AUTORUN_VALUE) == 0;
    case LogItemKind::UninstallEntry:
        accepted.sTarget = UNINSTALL_ENTRY_NAME;
        return lstrcmpiA(pszText, UNINSTALL_ENTRY_NAME) == 0;
    case LogItemKind::Folder:
        return TxPlainFullPath(pszText, accepted.sTarget) && AcceptFolder(record.iBlock, accepted);
    default:
        return TxPlainFullPath(pszText, accepted.sTarget) && AcceptFile(record.Kind, accepted);
    }
}

bool RecordFilter::AcceptProgramFile(const char* pszPath, AcceptedRecord& accepted) const
{
    return TxPlainFullPath(pszPath, accepted.sTarget) &&
           FindRoot(accepted.sTarget, false, false, accepted.sRoot);
}

bool RecordFilter::AcceptFile(LogItemKind kind, AcceptedRecord& accepted) const
{
    const TxString& sFull = accepted.sTarget;
    TxString sParent = ParentFolder(sFull);
    std::string sName = FileName(sFull);
    if (kind == LogItemKind::Shortcut)
    {
        if (lstrcmpiA(sName.c_str(), SHORTCUT_NAME) != 0)
            return false;
        for (const TxString& sFolder : m_Scope.ShortcutDirs)
            if (SameFolder(sParent, sFolder))
                return true;
        return false;
    }
    if (kind == LogItemKind::ProgramFile && lstrcmpiA(sName.c_str(), SCREEN_SAVER_NAME) == 0 &&
        SameFolder(sParent, m_Scope.sSystemDir))
        return true;
    return FindRoot(sFull, kind == LogItemKind::ImageFile, false, accepted.sRoot);
}

bool RecordFilter::AcceptFolder(int iBlock, AcceptedRecord& accepted) const
{
    const TxString& sFull = accepted.sTarget;
    for (const TxString& sFolder : m_Scope.ShortcutDirs)
        if (SameFolder(sFull, sFolder))
            return true;
    if (FindRoot(sFull, true, true, accepted.sRoot))
        return true;
    std::vector<const TxString*> roots = {&m_Scope.sProgramDir};
    for (const TxString& sImages : m_Scope.ImageDirs)
        roots.push_back(&sImages);
    for (const TxString* pRoot : roots)
    {
        // A level the setup made above its folder: recorded in the same
        // block together with every level down to that folder.
        if (!IsInsideFolder(*pRoot, sFull) || FolderKey(sFull).size() <= 3)
            continue;
        bool bChain = true;
        for (TxString sLevel = *pRoot; bChain && !SameFolder(sLevel, sFull);
             sLevel = ParentFolder(sLevel))
            bChain = IsRecordedFolder(sLevel, iBlock);
        if (bChain)
            return true;
    }
    return false;
}

bool RecordFilter::IsRecordedFolder(const TxString& sFull, int iBlock) const
{
    for (const InstallLogRecord& record : m_Records)
        if (record.Kind == LogItemKind::Folder && record.iBlock == iBlock &&
            SameFolder(record.sText, sFull))
            return true;
    return false;
}

bool RecordFilter::FindRoot(const TxString& sFull, bool bImages, bool bSelf, TxString& sRoot) const
{
    auto fits = [&](const TxString& sFolder)
    { return IsInsideFolder(sFull, sFolder) || (bSelf && SameFolder(sFull, sFolder)); };
    if (fits(m_Scope.sProgramDir))
    {
        sRoot = m_Scope.sProgramDir;
        return true;
    }
    for (const TxString& sImages : m_Scope.ImageDirs)
        if (bImages && fits(sImages))
        {
            sRoot = sImages;
            return true;
        }
    return false;
}
