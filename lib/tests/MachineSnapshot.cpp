#include "MachineSnapshot.h"

#include "TestSupport.h"
#include "TxHandles.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace
{
bool IsMissing(DWORD dwError)
{
    return dwError == ERROR_FILE_NOT_FOUND || dwError == ERROR_PATH_NOT_FOUND;
}

unsigned long long Number(DWORD dwHigh, DWORD dwLow)
{
    return (static_cast<unsigned long long>(dwHigh) << 32) | dwLow;
}

unsigned long long Time(const FILETIME& ft)
{
    return Number(ft.dwHighDateTime, ft.dwLowDateTime);
}

std::string StampText(const WIN32_FIND_DATAA& data)
{
    return "size " + std::to_string(Number(data.nFileSizeHigh, data.nFileSizeLow)) + ", written " +
           std::to_string(Time(data.ftLastWriteTime));
}

// Strings as they read; a multi-string with "|" between its parts.
std::string ValueText(DWORD dwType, const std::string& sData)
{
    switch (dwType)
    {
    case REG_SZ:
    case REG_EXPAND_SZ:
        return "string \"" + std::string(sData.c_str()) + "\"";
    case REG_MULTI_SZ:
    {
        std::string sText = sData;
        std::replace(sText.begin(), sText.end(), '\0', '|');
        return "multi-string \"" + sText + "\"";
    }
    case REG_DWORD:
        if (sData.size() == sizeof(DWORD))
        {
            DWORD dw = 0;
            std::memcpy(&dw, sData.data(), sizeof(dw));
            return "dword " + std::to_string(dw);
        }
        break;
    default:
        break;
    }
    std::string sText = "type " + std::to_string(dwType) + " bytes";
    for (unsigned char ch : sData)
    {
        char szByte[4];
        std::snprintf(szByte, sizeof(szByte), " %02x", ch);
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

std::vector<std::string> Described(const std::vector<SnapshotChange>& changes)
{
    std::vector<std::string> lines;
    for (const SnapshotChange& change : changes)
        lines.push_back(change.Describe());
    return lines;
}

MachineSnapshot::MachineSnapshot(const std::vector<std::string>& paths,
                                 const std::vector<std::string>& keys, FileDetail detail)
    : m_Detail(detail), m_Keys(keys)
{
    for (const std::string& sPath : paths)
        if (!sPath.empty())
            AddPath(sPath);
    for (const std::string& sKey : keys)
        AddKey(sKey);
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
                {SnapshotChange::ChangeKind::Removed, itBefore->first, itBefore->second.sText, ""});
            ++itBefore;
        }
        else if (itBefore == m_Items.end() || itAfter->first < itBefore->first)
        {
            changes.push_back(
                {SnapshotChange::ChangeKind::Added, itAfter->first, "", itAfter->second.sText});
            ++itAfter;
        }
        else
        {
            if (!(itBefore->second == itAfter->second))
                changes.push_back({SnapshotChange::ChangeKind::Changed, itBefore->first,
                                   itBefore->second.sText, itAfter->second.sText});
            ++itBefore;
            ++itAfter;
        }
    }
    return changes;
}

std::vector<std::string> MachineSnapshot::PathsAddedIn(const MachineSnapshot& after) const
{
    std::vector<std::string> paths;
    for (const auto& [sItem, item] : after.m_Items)
        if (item.Kind == Item::ItemKind::Path && m_Items.count(sItem) == 0)
            paths.push_back(item.sPlace);
    // A folder's entries sort after it.
    std::sort(paths.rbegin(), paths.rend());
    return paths;
}

void MachineSnapshot::RestoreRegistry() const
{
    MachineSnapshot now({}, m_Keys);
    std::vector<std::string> keysToDelete;
    for (const auto& [sItem, item] : now.m_Items)
    {
        if (m_Items.count(sItem) != 0)
            continue;
        if (item.Kind == Item::ItemKind::Value)
        {
            TxRegKey key;
            if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, item.sPlace.c_str(), 0, KEY_SET_VALUE,
                              key.Receive()) == ERROR_SUCCESS)
                RegDeleteValueA(key.Get(), item.sName.c_str());
        }
        else if (item.Kind == Item::ItemKind::Key)
            keysToDelete.push_back(item.sPlace);
    }
    // Subkeys sort after their keys: the deepest go first.
    std::sort(keysToDelete.rbegin(), keysToDelete.rend());
    for (const std::string& sKey : keysToDelete)
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, sKey.c_str());
    for (const auto& [sItem, item] : m_Items)
    {
        if (item.Kind != Item::ItemKind::Key && item.Kind != Item::ItemKind::Value)
            continue;
        TxRegKey key;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, item.sPlace.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                            nullptr, key.Receive(), nullptr) != ERROR_SUCCESS ||
            item.Kind != Item::ItemKind::Value)
            continue;
        auto it = now.m_Items.find(sItem);
        if (it == now.m_Items.end() || !(it->second == item))
            RegSetValueExA(key.Get(), item.sName.c_str(), 0, item.dwType,
                           reinterpret_cast<const BYTE*>(item.sData.data()),
                           static_cast<DWORD>(item.sData.size()));
    }
}

void MachineSnapshot::AddUnreadable(const std::string& sItem, const char* pszWhat, DWORD dwError)
{
    std::string sText =
        std::string("unreadable: ") + pszWhat + " failed with " + std::to_string(dwError);
    m_Items[sItem] = {Item::ItemKind::Unreadable, "", "", sText, "", REG_NONE};
}

void MachineSnapshot::AddPath(const std::string& sPath)
{
    DWORD dwAttributes = GetFileAttributesA(sPath.c_str());
    if (dwAttributes == INVALID_FILE_ATTRIBUTES)
    {
        DWORD dwError = GetLastError();
        if (!IsMissing(dwError))
            AddUnreadable("path " + sPath, "GetFileAttributesA", dwError);
        return;
    }
    if (dwAttributes & FILE_ATTRIBUTE_DIRECTORY)
    {
        m_Items[FolderItem(sPath)] = {Item::ItemKind::Path, sPath, "", "", "", REG_NONE};
        AddFolderContent(sPath);
        return;
    }
    WIN32_FIND_DATAA data;
    TxFindHandle hFind(FindFirstFileA(sPath.c_str(), &data));
    if (!hFind.IsValid())
    {
        AddUnreadable(FileItem(sPath), "FindFirstFileA", GetLastError());
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
            AddUnreadable(FolderItem(sFolder), "FindFirstFileA", dwError);
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
            std::string sText = m_Detail == FileDetail::Content
                                    ? "attributes " + std::to_string(data.dwFileAttributes)
                                    : "";
            m_Items[FolderItem(sPath)] = {Item::ItemKind::Path, sPath, "", sText, "", REG_NONE};
            AddFolderContent(sPath);
        }
        else
            AddFile(sPath, data);
    } while (FindNextFileA(hFind.Get(), &data));
    DWORD dwError = GetLastError();
    if (dwError != ERROR_NO_MORE_FILES)
        AddUnreadable(FolderItem(sFolder), "FindNextFileA", dwError);
}

void MachineSnapshot::AddFile(const std::string& sPath, const WIN32_FIND_DATAA& data)
{
    Item item = {Item::ItemKind::Path, sPath, "", StampText(data), "", REG_NONE};
    if (m_Detail == FileDetail::Content)
    {
        // The times first: reading the bytes may move the last-access time.
        WIN32_FILE_ATTRIBUTE_DATA attributes;
        if (GetFileAttributesExA(sPath.c_str(), GetFileExInfoStandard, &attributes))
        {
            item.sData = ReadWholeFile(sPath);
            KeepFileTimes(sPath, attributes);
            item.sText = "attributes " + std::to_string(attributes.dwFileAttributes) +
                         ", created " + std::to_string(Time(attributes.ftCreationTime)) +
                         ", written " + std::to_string(Time(attributes.ftLastWriteTime)) + ", " +
                         std::to_string(item.sData.size()) + " bytes read";
        }
        else
            item.sText =
                "unreadable: GetFileAttributesExA failed with " + std::to_string(GetLastError());
    }
    m_Items[FileItem(sPath)] = item;
}

void MachineSnapshot::AddKey(const std::string& sKey)
{
    TxRegKey key;
    LONG lResult = RegOpenKeyExA(HKEY_LOCAL_MACHINE, sKey.c_str(), 0, KEY_READ, key.Receive());
    if (lResult != ERROR_SUCCESS)
    {
        if (!IsMissing(static_cast<DWORD>(lResult)))
            AddUnreadable(KeyItem(sKey), "RegOpenKeyExA", static_cast<DWORD>(lResult));
        return;
    }
    DWORD dwMaxSubkey = 0;
    DWORD dwMaxName = 0;
    DWORD dwMaxData = 0;
    lResult = RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, nullptr, &dwMaxSubkey, nullptr,
                               nullptr, &dwMaxName, &dwMaxData, nullptr, nullptr);
    if (lResult != ERROR_SUCCESS)
    {
        AddUnreadable(KeyItem(sKey), "RegQueryInfoKeyA", static_cast<DWORD>(lResult));
        return;
    }
    m_Items[KeyItem(sKey)] = {Item::ItemKind::Key, sKey, "", "", "", REG_NONE};
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
            AddUnreadable(ValueItem(sKey, "#" + std::to_string(i)), "RegEnumValueA",
                          static_cast<DWORD>(lResult));
            continue;
        }
        std::string sName(name.data(), dwName);
        std::string sData(reinterpret_cast<const char*>(data.data()), dwData);
        m_Items[ValueItem(sKey, sName)] = {Item::ItemKind::Value,    sKey,  sName,
                                           ValueText(dwType, sData), sData, dwType};
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
            AddUnreadable(KeyItem(sKey + "\\#" + std::to_string(i)), "RegEnumKeyExA",
                          static_cast<DWORD>(lResult));
            continue;
        }
        subkeys.push_back(std::string(name.data(), dwName));
    }
    for (const std::string& sSub : subkeys)
        AddKey(sKey + "\\" + sSub);
}
