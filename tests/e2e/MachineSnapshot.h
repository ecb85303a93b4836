#pragma once

#include "ProductState.h"

#include <map>
#include <string>
#include <vector>
#include <windows.h>

// One item that differs between two snapshots.
struct SnapshotChange
{
    enum class ChangeKind
    {
        Added,
        Removed,
        Changed
    };
    ChangeKind Kind;
    std::string sItem; // as MachineSnapshot names it, e.g. "file C:\x"
    std::string sBefore;
    std::string sAfter;

    // "added file C:\x (size 3, ...)", "removed key HKLM\...", "changed ...: a -> b".
    std::string Describe() const;
};

// What the machine holds in the places an installation of the product may
// touch: the files and folders under the program-files, pictures, Start-menu
// and desktop folders, the screen saver in the system folder, and the keys and
// values under the vendor, Run and Uninstall keys of HKEY_LOCAL_MACHINE.
// Reading never fails: what cannot be read is kept as an item saying so.
class MachineSnapshot
{
public:
    static MachineSnapshot Take(const ProductPaths& paths);

    // Every item added, removed or changed on the way to `after`, in item order.
    std::vector<SnapshotChange> ChangesTo(const MachineSnapshot& after) const;
    bool Holds(const std::string& sItem) const { return m_Items.count(sItem) != 0; }

    // Item names, so that callers can pick changes out.
    static std::string FileItem(const std::string& sPath) { return "file " + sPath; }
    static std::string FolderItem(const std::string& sPath) { return "folder " + sPath; }
    static std::string KeyItem(const std::string& sKey) { return "key HKLM\\" + sKey; }
    static std::string ValueItem(const std::string& sKey, const std::string& sName)
    {
        return "value HKLM\\" + sKey + "\\" + (sName.empty() ? "(default)" : sName);
    }

private:
    void AddPath(const std::string& sPath);
    void AddFolderContent(const std::string& sFolder);
    void AddFile(const std::string& sPath, const WIN32_FIND_DATAA& data);
    // The key with its values and all its subkeys.
    void AddKey(const std::string& sKey);
    void AddValues(HKEY hKey, const std::string& sKey, DWORD dwMaxName, DWORD dwMaxData);
    void AddSubkeys(HKEY hKey, const std::string& sKey, DWORD dwMaxName);

    // Item name -> what it holds (size and time of a file, type and data of a value).
    std::map<std::string, std::string> m_Items;
};
