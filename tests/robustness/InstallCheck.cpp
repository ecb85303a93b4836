#include "InstallCheck.h"

#include "ArchiveOracle.h"
#include "LanguageCatalogue.h"
#include "PostInstall.h"
#include "RegistryHelpers.h"
#include "SetupState.h"
#include "TestSupport.h"
#include "TxHandles.h"

#include <windows.h>

namespace
{
std::uint64_t Time(const FILETIME& ft)
{
    return ft.dwLowDateTime | static_cast<std::uint64_t>(ft.dwHighDateTime) << 32;
}

std::string Join(const std::string& sFolder, const std::string& sName)
{
    return sFolder.empty() || sFolder.back() == '\\' ? sFolder + sName : sFolder + "\\" + sName;
}

// The times first: reading the bytes may move the last-access time.
bool FileState(const std::string& sPath, WIN32_FILE_ATTRIBUTE_DATA& data, std::string& sBytes)
{
    return GetFileAttributesExA(sPath.c_str(), GetFileExInfoStandard, &data) &&
           ReadWhole(sPath, sBytes);
}

// Puts back the times a read has moved, so that looking changes nothing.
// Wine drops the hidden and read-only bits when times are set: those go back
// too.
void KeepTimes(const std::string& sPath, const WIN32_FILE_ATTRIBUTE_DATA& data)
{
    TxFileHandle h(CreateFileA(sPath.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr));
    if (h.IsValid())
        SetFileTime(h.Get(), &data.ftCreationTime, &data.ftLastAccessTime, &data.ftLastWriteTime);
    h.Reset();
    SetFileAttributesA(sPath.c_str(), data.dwFileAttributes);
}

bool ReadValue(HKEY hKey, const char* pszName, DWORD& dwType, std::string& sData)
{
    DWORD cb = 0;
    if (RegQueryValueExA(hKey, pszName, nullptr, &dwType, nullptr, &cb) != ERROR_SUCCESS)
        return false;
    sData.assign(cb, '\0');
    return RegQueryValueExA(hKey, pszName, nullptr, &dwType,
                            cb > 0 ? reinterpret_cast<BYTE*>(&sData[0]) : nullptr,
                            &cb) == ERROR_SUCCESS;
}

// A REG_SZ value's text, or a text that no folder can be.
std::string RegistryText(const char* pszKey, const char* pszValue)
{
    TxRegKey key;
    DWORD dwType = 0;
    std::string sData;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, pszKey, 0, KEY_QUERY_VALUE, key.Receive()) !=
            ERROR_SUCCESS ||
        !ReadValue(key.Get(), pszValue, dwType, sData) || dwType != REG_SZ)
        return "<missing>";
    return sData.c_str();
}

class CDifferences
{
public:
    void Add(const std::string& sWhat, const std::string& sPath)
    {
        m_Lines.push_back(sWhat + ": " + sPath);
    }
    std::vector<std::string> m_Lines;
};

void CheckFile(CDifferences& d, const std::string& sPath, const std::string& sBytes,
               const OracleEntry* pEntry, std::uint64_t qwWriteTime)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    std::string sHave;
    if (!FileState(sPath, data, sHave))
        return d.Add("missing", sPath);
    KeepTimes(sPath, data);
    if (sHave != sBytes || data.nFileSizeLow != sBytes.size() || data.nFileSizeHigh != 0)
        d.Add("bytes or size differ", sPath);
    if (Time(data.ftLastWriteTime) != qwWriteTime)
        d.Add("last-write time differs", sPath);
    if (pEntry != nullptr && (Time(data.ftCreationTime) != pEntry->qwCreation ||
                              Time(data.ftLastAccessTime) != pEntry->qwLastAccess))
        d.Add("creation or last-access time differs", sPath);
}

void CheckLink(CDifferences& d, const std::string& sFolder)
{
    std::string sLink = Join(sFolder, SHORTCUT_FILE_NAME);
    std::string sWanted = Join(g_sDstDir.GetText(), "QvManag.exe");
    // A link that stayed from before (its replacement failed, by design
    // without a message) must keep its times when it is read.
    WIN32_FILE_ATTRIBUTE_DATA data;
    bool bExists = GetFileAttributesExA(sLink.c_str(), GetFileExInfoStandard, &data) != FALSE;
    ShortcutInfo link;
    if (bExists)
    {
        ReadShortcut(sLink, link);
        KeepTimes(sLink, data);
    }
    if (CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, link.sTarget.c_str(), -1,
                       sWanted.c_str(), -1) != CSTR_EQUAL)
        d.Add("no link to the manager", sLink);
}

void Describe(std::map<std::string, std::string>& files, const std::string& sPath)
{
    WIN32_FIND_DATAA find;
    TxFindHandle h(FindFirstFileA((sPath + "\\*").c_str(), &find));
    if (!h.IsValid())
        return;
    do
    {
        std::string sName = find.cFileName;
        if (sName == "." || sName == "..")
            continue;
        std::string sChild = sPath + "\\" + sName;
        std::string& sState = files[sChild];
        sState = "attributes " + std::to_string(find.dwFileAttributes);
        if (find.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        {
            Describe(files, sChild);
            continue;
        }
        WIN32_FILE_ATTRIBUTE_DATA data;
        std::string sBytes;
        if (!FileState(sChild, data, sBytes))
        {
            sState += ", unreadable";
            continue;
        }
        KeepTimes(sChild, data);
        sState += ", times " + std::to_string(Time(data.ftCreationTime)) + " " +
                  std::to_string(Time(data.ftLastAccessTime)) + " " +
                  std::to_string(Time(data.ftLastWriteTime)) + ", " +
                  std::to_string(sBytes.size()) + " bytes|" + sBytes;
    } while (FindNextFileA(h.Get(), &find));
}

void DescribeKey(std::map<std::string, std::string>& reg, const std::string& sKey)
{
    TxRegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, sKey.c_str(), 0, KEY_READ, key.Receive()) !=
        ERROR_SUCCESS)
        return;
    reg[sKey] = "key";
    char szName[16384];
    for (DWORD i = 0;; ++i)
    {
        DWORD cch = sizeof(szName);
        if (RegEnumValueA(key.Get(), i, szName, &cch, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        DWORD dwType = 0;
        std::string sData;
        ReadValue(key.Get(), szName, dwType, sData);
        reg[sKey + "\\\\" + szName] = std::to_string(dwType) + ":" + sData;
    }
    std::vector<std::string> subKeys;
    for (DWORD i = 0;; ++i)
    {
        DWORD cch = sizeof(szName);
        if (RegEnumKeyExA(key.Get(), i, szName, &cch, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        subKeys.push_back(szName);
    }
    for (const std::string& sSub : subKeys)
        DescribeKey(reg, sKey + "\\" + sSub);
}
// A state without a file's bytes.
std::string Shown(const std::string& sState)
{
    return sState.substr(0, sState.find('|'));
}
} // namespace

std::vector<std::string> DifferencesFromMedium(const std::string& sMedium,
                                               const InstallChoices& choices)
{
    CDifferences d;
    std::string sArchive;
    ReadWhole(Join(sMedium, "Setup.dat"), sArchive);
    ArchiveOracle o = ReadArchiveOracle(sArchive);
    for (int i = 0; i < g_InstallFiles.GetCount(); ++i)
    {
        const CInstallFile& file = *g_InstallFiles.FileAt(i);
        std::string sName = file.sDstName.GetText();
        const OracleEntry* pEntry = nullptr;
        std::size_t iDot = sName.rfind('.');
        if ((file.dwFlags & IF_LOCALIZED) != 0 && iDot != std::string::npos)
            pEntry = OracleLookup(o, sName.substr(0, iDot) + "_" + g_sLangEName.GetText() +
                                         sName.substr(iDot));
        if (pEntry == nullptr)
            pEntry = OracleLookup(o, sName);
        std::string sFolder =
            file.sDstFolder.IsEmpty() ? g_sDstDir.GetText() : file.sDstFolder.GetText();
        if (!file.sSubFolder.IsEmpty())
            sFolder = Join(sFolder, file.sSubFolder.GetText());
        if (pEntry == nullptr || !BlockFits(*pEntry, sArchive.size()))
            d.Add("not on the medium", sName);
        else
            CheckFile(d, Join(sFolder, sName), sArchive.substr(pEntry->dwOffset, pEntry->dwSize),
                      pEntry, pEntry->qwLastWrite);
    }
    WIN32_FIND_DATAA find;
    TxFindHandle h(FindFirstFileA(Join(sMedium, "Images\\*.jpg").c_str(), &find));
    for (bool bMore = h.IsValid() && choices.bImages; bMore; bMore = FindNextFileA(h.Get(), &find))
    {
        std::string sBytes;
        ReadWhole(Join(sMedium, "Images\\" + std::string(find.cFileName)), sBytes);
        CheckFile(d, Join(g_sImgDstDir.GetText(), find.cFileName), sBytes, nullptr,
                  Time(find.ftLastWriteTime));
    }
    if (RegistryText(SETUP_REG_KEY, INSTALLED_PRG_DIR_VALUE) != g_sDstDir.GetText())
        d.Add("registry value differs", INSTALLED_PRG_DIR_VALUE);
    if (RegistryText(SETUP_REG_KEY, INSTALLED_IMG_DIR_VALUE) !=
        (choices.bImages ? g_sImgDstDir.GetText() : "<missing>"))
        d.Add("registry value differs", INSTALLED_IMG_DIR_VALUE);
    std::string sAgent = "\"" + Join(g_sDstDir.GetText(), "QvAgent.exe") + "\" /r";
    if (RegistryText(REG_RUN_KEY, REG_AUTORUN_VALUE) != sAgent)
        d.Add("registry value differs", REG_AUTORUN_VALUE);
    // A Start-menu folder that cannot be made gives no link, by design.
    if (choices.bStartMenu && GetFileAttributesA(g_sPrograms.GetText()) != INVALID_FILE_ATTRIBUTES)
        CheckLink(d, g_sPrograms.GetText());
    if (choices.bDesktop)
        CheckLink(d, g_sDesktop.GetText());
    return d.m_Lines;
}

CMachineSnapshot::CMachineSnapshot(const std::string& sTree,
                                   const std::vector<std::string>& regKeys)
    : m_RegKeys(regKeys)
{
    if (!sTree.empty())
        Describe(m_Files, sTree);
    for (const std::string& sKey : regKeys)
        DescribeKey(m_Registry, sKey);
}

std::vector<std::string> CMachineSnapshot::DifferencesFrom(const CMachineSnapshot& before) const
{
    std::vector<std::string> lines;
    auto compare = [&lines](const std::map<std::string, std::string>& was,
                            const std::map<std::string, std::string>& now)
    {
        for (const auto& [sPath, sState] : was)
        {
            auto it = now.find(sPath);
            if (it == now.end())
                lines.push_back("gone: " + sPath);
            else if (it->second != sState)
                lines.push_back("changed: " + sPath + " (was " + Shown(sState) + ", now " +
                                Shown(it->second) + ")");
        }
        for (const auto& [sPath, sState] : now)
            if (was.count(sPath) == 0)
                lines.push_back("new: " + sPath);
    };
    compare(before.m_Files, m_Files);
    compare(before.m_Registry, m_Registry);
    return lines;
}

void CMachineSnapshot::RestoreRegistry() const
{
    CMachineSnapshot now("", m_RegKeys);
    // Newest first, so that subkeys go before their keys.
    for (auto it = now.m_Registry.rbegin(); it != now.m_Registry.rend(); ++it)
    {
        if (m_Registry.count(it->first) != 0)
            continue;
        std::size_t iValue = it->first.find("\\\\");
        if (iValue == std::string::npos)
            RegDeleteKeyA(HKEY_LOCAL_MACHINE, it->first.c_str());
        else
            RegistryDeleteValue(HKEY_LOCAL_MACHINE, it->first.substr(0, iValue).c_str(),
                                it->first.substr(iValue + 2).c_str());
    }
    for (const auto& [sPath, sState] : m_Registry)
    {
        std::size_t iValue = sPath.find("\\\\");
        auto it = now.m_Registry.find(sPath);
        TxRegKey key;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, sPath.substr(0, iValue).c_str(), 0, nullptr, 0,
                            KEY_SET_VALUE, nullptr, key.Receive(), nullptr) != ERROR_SUCCESS ||
            iValue == std::string::npos || (it != now.m_Registry.end() && it->second == sState))
            continue;
        std::size_t iColon = sState.find(':');
        RegSetValueExA(key.Get(), sPath.substr(iValue + 2).c_str(), 0,
                       std::stoul(sState.substr(0, iColon)),
                       reinterpret_cast<const BYTE*>(sState.data() + iColon + 1),
                       static_cast<DWORD>(sState.size() - iColon - 1));
    }
}
