#include "MachineSnapshot.h"

#include "E2eFiles.h"
#include "TxHandles.h"

#include <cstdio>
#include <cstring>

namespace
{
constexpr char UNINSTALL_ROOT_KEY[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::string ParentFolder(const std::string& sPath)
{
    size_t nSlash = sPath.find_last_of('\\');
    return nSlash == std::string::npos ? std::string() : sPath.substr(0, nSlash);
}

bool IsMissing(DWORD dwError)
{
    return dwError == ERROR_FILE_NOT_FOUND || dwError == ERROR_PATH_NOT_FOUND;
}

std::string Unreadable(const char* pszWhat, DWORD dwError)
{
    return std::string("unreadable: ") + pszWhat + " failed with " + std::to_string(dwError);
}

std::string FileText(const WIN32_FIND_DATAA& data)
{
    unsigned long long qwSize =
        (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    unsigned long long qwTime =
        (static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
        data.ftLastWriteTime.dwLowDateTime;
    return "size " + std::to_string(qwSize) + ", written " + std::to_string(qwTime);
}

// Strings as they read; a multi-string with "|" between its parts.
std::string ValueText(DWORD dwType, const BYTE* pData, DWORD dwSize)
{
    const char* pszData = reinterpret_cast<const char*>(pData);
    switch (dwType)
    {
    case REG_SZ:
    case REG_EXPAND_SZ:
        return "string \"" + std::string(pszData, strnlen(pszData, dwSize)) + "\"";
    case REG_MULTI_SZ:
    {
        std::string sText(pszData, dwSize);
        for (char& ch : sText)
            if (ch == 0)
                ch = '|';
        return "multi-string \"" + sText + "\"";
    }
    case REG_DWORD:
        if (dwSize == sizeof(DWORD))
            return "dword " + std::to_string(*reinterpret_cast<const DWORD*>(pData));
        break;
    default:
        break;
    }
    std::string sText = "type " + std::to_string(dwType) + " bytes";
    for (DWORD i = 0; i < dwSize; ++i)
    {
        char szByte[4];
        std::snprintf(szByte, sizeof(szByte), " %02x", pData[i]);
        sText += szByte;
    }
    return sText;
}
} // namespace

std::string SnapshotChange::Describe() const
{
    switch (Kind)
    {
    case ChangeKind::Added:
        return "added " + sItem + (sAfter.empty() ? "" : " (" + sAfter + ")");
    case ChangeKind::Removed:
        return "removed " + sItem + (sBefore.empty() ? "" : " (" + sBefore + ")");
    case ChangeKind::Changed:
        break;
    }
    return "changed " + sItem + ": " + sBefore + " -> " + sAfter;
}

MachineSnapshot MachineSnapshot::Take(const ProductPaths& paths)
{
    MachineSnapshot snapshot;
    for (const std::string& sFolder :
         {ParentFolder(paths.sProgramDir), ParentFolder(paths.sImageDir), paths.sPrograms,
          paths.sCommonPrograms, paths.sDesktop, paths.sCommonDesktop})
        if (!sFolder.empty())
            snapshot.AddPath(sFolder);
    snapshot.AddPath(paths.ScreenSaver());
    snapshot.AddKey(VENDOR_KEY);
    snapshot.AddKey(RUN_KEY);
    snapshot.AddKey(UNINSTALL_ROOT_KEY);
    return snapshot;
}

std::vector<SnapshotChange> MachineSnapshot::ChangesTo(const MachineSnapshot& after) const
{
    std::vector<SnapshotChange> changes;
    auto itBefore = m_Items.begin();
    auto itAfter = after.m_Items.begin();
    // Both maps are sorted: one merge pass finds every difference.
    while (itBefore != m_Items.end() || itAfter != after.m_Items.end())
    {
        if (itAfter == after.m_Items.end() ||
            (itBefore != m_Items.end() && itBefore->first < itAfter->first))
        {
            changes.push_back(
                {SnapshotChange::ChangeKind::Removed, itBefore->first, itBefore->second, ""});
            ++itBefore;
        }
        else if (itBefore == m_Items.end() || itAfter->first < itBefore->first)
        {
            changes.push_back(
                {SnapshotChange::ChangeKind::Added, itAfter->first, "", itAfter->second});
            ++itAfter;
        }
        else
        {
            if (itBefore->second != itAfter->second)
                changes.push_back({SnapshotChange::ChangeKind::Changed, itBefore->first,
                                   itBefore->second, itAfter->second});
            ++itBefore;
            ++itAfter;
        }
    }
    return changes;
}

void MachineSnapshot::AddPath(const std::string& sPath)
{
    DWORD dwAttributes = GetFileAttributesA(sPath.c_str());
    if (dwAttributes == INVALID_FILE_ATTRIBUTES)
    {
        DWORD dwError = GetLastError();
        if (!IsMissing(dwError))
            m_Items["path " + sPath] = Unreadable("GetFileAttributesA", dwError);
        return;
    }
    if (dwAttributes & FILE_ATTRIBUTE_DIRECTORY)
    {
        m_Items[FolderItem(sPath)] = "";
        AddFolderContent(sPath);
        return;
    }
    WIN32_FIND_DATAA data;
    TxFindHandle hFind(FindFirstFileA(sPath.c_str(), &data));
    if (!hFind.IsValid())
    {
        m_Items[FileItem(sPath)] = Unreadable("FindFirstFileA", GetLastError());
        return;
    }
    AddFile(sPath, data);
}

void MachineSnapshot::AddFolderContent(const std::string& sFolder)
{
    WIN32_FIND_DATAA data;
    TxFindHandle hFind(FindFirstFileA(JoinPath(sFolder, "*").c_str(), &data));
    if (!hFind.IsValid())
    {
        DWORD dwError = GetLastError();
        if (dwError != ERROR_FILE_NOT_FOUND)
            m_Items[FolderItem(sFolder)] = Unreadable("FindFirstFileA", dwError);
        return;
    }
    do
    {
        std::string sName = data.cFileName;
        if (sName == "." || sName == "..")
            continue;
        std::string sPath = JoinPath(sFolder, sName);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        {
            m_Items[FolderItem(sPath)] = "";
            AddFolderContent(sPath);
        }
        else
            AddFile(sPath, data);
    } while (FindNextFileA(hFind.Get(), &data));
    DWORD dwError = GetLastError();
    if (dwError != ERROR_NO_MORE_FILES)
        m_Items[FolderItem(sFolder)] = Unreadable("FindNextFileA", dwError);
}

void MachineSnapshot::AddFile(const std::string& sPath, const WIN32_FIND_DATAA& data)
{
    m_Items[FileItem(sPath)] = FileText(data);
}

void MachineSnapshot::AddKey(const std::string& sKey)
{
    TxRegKey key;
    LONG lResult = RegOpenKeyExA(HKEY_LOCAL_MACHINE, sKey.c_str(), 0, KEY_READ, key.Receive());
    if (lResult != ERROR_SUCCESS)
    {
        if (!IsMissing(static_cast<DWORD>(lResult)))
            m_Items[KeyItem(sKey)] = Unreadable("RegOpenKeyExA", static_cast<DWORD>(lResult));
        return;
    }
    DWORD dwMaxSubkey = 0;
    DWORD dwMaxName = 0;
    DWORD dwMaxData = 0;
    lResult = RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, nullptr, &dwMaxSubkey, nullptr,
                               nullptr, &dwMaxName, &dwMaxData, nullptr, nullptr);
    if (lResult != ERROR_SUCCESS)
    {
        m_Items[KeyItem(sKey)] = Unreadable("RegQueryInfoKeyA", static_cast<DWORD>(lResult));
        return;
    }
    m_Items[KeyItem(sKey)] = "";
    AddValues(key.Get(), sKey, dwMaxName, dwMaxData);
    AddSubkeys(key.Get(), sKey, dwMaxSubkey);
}

void MachineSnapshot::AddValues(HKEY hKey, const std::string& sKey, DWORD dwMaxName,
                                DWORD dwMaxData)
{
    // The maxima count characters without the NUL; ANSI names may take two bytes each.
    std::vector<char> name(2 * static_cast<size_t>(dwMaxName) + 2);
    std::vector<BYTE> data(static_cast<size_t>(dwMaxData) + 2);
    for (DWORD i = 0;; ++i)
    {
        DWORD dwName = static_cast<DWORD>(name.size());
        DWORD dwData = static_cast<DWORD>(data.size());
        DWORD dwType = 0;
        LONG lResult =
            RegEnumValueA(hKey, i, name.data(), &dwName, nullptr, &dwType, data.data(), &dwData);
        if (lResult == ERROR_NO_MORE_ITEMS)
            return;
        if (lResult != ERROR_SUCCESS)
        {
            m_Items[ValueItem(sKey, "#" + std::to_string(i))] =
                Unreadable("RegEnumValueA", static_cast<DWORD>(lResult));
            continue;
        }
        m_Items[ValueItem(sKey, std::string(name.data(), dwName))] =
            ValueText(dwType, data.data(), dwData);
    }
}

void MachineSnapshot::AddSubkeys(HKEY hKey, const std::string& sKey, DWORD dwMaxName)
{
    std::vector<char> name(2 * static_cast<size_t>(dwMaxName) + 2);
    std::vector<std::string> subkeys;
    for (DWORD i = 0;; ++i)
    {
        DWORD dwName = static_cast<DWORD>(name.size());
        LONG lResult =
            RegEnumKeyExA(hKey, i, name.data(), &dwName, nullptr, nullptr, nullptr, nullptr);
        if (lResult == ERROR_NO_MORE_ITEMS)
            break;
        if (lResult != ERROR_SUCCESS)
        {
            m_Items[KeyItem(sKey + "\\#" + std::to_string(i))] =
                Unreadable("RegEnumKeyExA", static_cast<DWORD>(lResult));
            continue;
        }
        subkeys.push_back(std::string(name.data(), dwName));
    }
    for (const std::string& sSub : subkeys)
        AddKey(sKey + "\\" + sSub);
}
