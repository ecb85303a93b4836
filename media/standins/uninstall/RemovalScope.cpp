#include "RemovalScope.h"

#include "ProductNames.h"
#include "RegistryValues.h"

#include <cstring>
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

// "CON", "nul.txt", "COM1 ": names that open a device in any folder.
bool IsDeviceName(const std::string& sComponent)
{
    std::string sBase = sComponent.substr(0, sComponent.find('.'));
    while (!sBase.empty() && sBase.back() == ' ')
        sBase.pop_back();
    for (char& c : sBase)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    for (const char* pszName : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (sBase == pszName)
            return true;
    return sBase.size() == 4 &&
           (sBase.compare(0, 3, "COM") == 0 || sBase.compare(0, 3, "LPT") == 0) &&
           sBase[3] >= '0' && sBase[3] <= '9';
}

bool IsPlainComponent(const std::string& sComponent)
{
    if (sComponent.empty() || sComponent.find_first_not_of('.') == std::string::npos)
        return false;
    if (sComponent.back() == '.' || sComponent.back() == ' ')
        return false;
    for (char c : sComponent)
        if (static_cast<unsigned char>(c) < 32 || std::strchr("*?\"<>|:", c) != nullptr)
            return false;
    return !IsDeviceName(sComponent);
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

// True when sFolder itself or a level between it and sPath (sPath excluded)
// is a junction or symbolic link: the record would reach outside sFolder.
bool PassesThroughLink(const TxString& sPath, const TxString& sFolder)
{
    std::string s = sPath.GetText();
    std::vector<std::string> levels = {sFolder.GetText()};
    for (size_t i = FolderKey(sFolder).size() + 1; i < s.size(); ++i)
        if (s[i] == '\\')
            levels.push_back(s.substr(0, i));
    for (const std::string& sLevel : levels)
    {
        DWORD dwAttributes = GetFileAttributesA(sLevel.c_str());
        if (dwAttributes != INVALID_FILE_ATTRIBUTES &&
            (dwAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            return true;
    }
    return false;
}

TxString SpecialFolder(int iCsidl)
{
    char szPath[MAX_PATH + 1] = "";
    if (FAILED(SHGetFolderPathA(nullptr, iCsidl, nullptr, 0, szPath)))
        return TxString();
    return TxString(szPath);
}
} // namespace

RemovalScope RemovalScope::ForLog(const char* pszLogPath)
{
    RemovalScope scope;
    char szFull[MAX_PATH * 2];
    DWORD n = GetFullPathNameA(pszLogPath, sizeof(szFull), szFull, nullptr);
    if (n > 0 && n < sizeof(szFull))
        scope.sProgramDir = ParentFolder(TxString(szFull));
    // Only an administrator writes HKLM: this names the image folder even
    // when the log has been changed.
    TxString sImages;
    if (ReadRegistryString(HKEY_LOCAL_MACHINE, SETUP_REG_KEY, INSTALLED_IMG_DIR_VALUE, sImages))
    {
        sImages.RemoveBackslash();
        NormaliseRecordPath(sImages.GetText(), scope.sImageDir);
    }
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

bool NormaliseRecordPath(const char* pszPath, TxString& sFull)
{
    std::string s(pszPath);
    for (char& c : s)
        if (c == '/')
            c = '\\';
    if (!IsAbsolutePath(s.c_str()))
        return false;
    // After "X:\" or the "\\" of a server: every level a plain name.
    size_t nStart = s[1] == ':' ? 3 : 2;
    if (s.size() == nStart)
        return false;
    for (size_t nBegin = nStart;;)
    {
        size_t nEnd = s.find('\\', nBegin);
        if (!IsPlainComponent(s.substr(nBegin, nEnd - nBegin)))
            return false;
        if (nEnd == std::string::npos)
            break;
        nBegin = nEnd + 1;
    }
    char szFull[MAX_PATH * 2];
    DWORD n = GetFullPathNameA(s.c_str(), sizeof(szFull), szFull, nullptr);
    if (n == 0 || n >= sizeof(szFull) || lstrcmpiA(szFull, s.c_str()) != 0)
        return false;
    sFull = szFull;
    return true;
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

bool RecordFilter::Accept(const InstallLogRecord& record, TxString& sTarget) const
{
    const char* pszText = record.sText.GetText();
    switch (record.Kind)
    {
    case LogItemKind::Autorun:
        sTarget = REG_AUTORUN_VALUE;
        return lstrcmpiA(pszText, REG_AUTORUN_VALUE) == 0;
    case LogItemKind::UninstallEntry:
        sTarget = UNINSTALL_ENTRY_NAME;
        return lstrcmpiA(pszText, UNINSTALL_ENTRY_NAME) == 0;
    case LogItemKind::Folder:
        return NormaliseRecordPath(pszText, sTarget) && AcceptFolder(sTarget, record.iBlock);
    default:
        return NormaliseRecordPath(pszText, sTarget) && AcceptFile(record.Kind, sTarget);
    }
}

bool RecordFilter::AcceptFile(LogItemKind kind, const TxString& sFull) const
{
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
    return IsInsideRoot(sFull, kind == LogItemKind::ImageFile);
}

bool RecordFilter::AcceptFolder(const TxString& sFull, int iBlock) const
{
    for (const TxString& sFolder : m_Scope.ShortcutDirs)
        if (SameFolder(sFull, sFolder))
            return true;
    for (const TxString* pRoot : {&m_Scope.sProgramDir, &m_Scope.sImageDir})
    {
        if (SameFolder(sFull, *pRoot))
            return true;
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
    return IsInsideRoot(sFull, true);
}

bool RecordFilter::IsRecordedFolder(const TxString& sFull, int iBlock) const
{
    for (const InstallLogRecord& record : m_Records)
        if (record.Kind == LogItemKind::Folder && record.iBlock == iBlock &&
            SameFolder(record.sText, sFull))
            return true;
    return false;
}

bool RecordFilter::IsInsideRoot(const TxString& sFull, bool bImages) const
{
    const TxString& sProgram = m_Scope.sProgramDir;
    if (IsInsideFolder(sFull, sProgram) && !PassesThroughLink(sFull, sProgram))
        return true;
    const TxString& sImages = m_Scope.sImageDir;
    return bImages && IsInsideFolder(sFull, sImages) && !PassesThroughLink(sFull, sImages);
}
