#pragma once

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
// One line per change, as Describe gives it.
std::vector<std::string> Described(const std::vector<SnapshotChange>& changes);

// What the machine holds in the places a test names: files and folders (a
// folder with everything below it) and keys of HKEY_LOCAL_MACHINE with their
// values and subkeys. Reading never fails: what cannot be read is kept as an
// item saying so.
class MachineSnapshot
{
public:
    // What is kept of a file: its size and last-write time, or its
    // attributes, creation and last-write times and its bytes (read so that
    // its times and attributes stay as they were). The last-access time is
    // left out: any reader of the file moves it, another test's included.
    enum class FileDetail
    {
        Stamp,
        Content
    };

    MachineSnapshot() = default;
    MachineSnapshot(const std::vector<std::string>& paths, const std::vector<std::string>& keys,
                    FileDetail detail = FileDetail::Stamp);

    // Every item added, removed or changed on the way to `after`, in item order.
    std::vector<SnapshotChange> ChangesTo(const MachineSnapshot& after) const;
    // The files and folders `after` holds and this snapshot does not, the
    // deepest first, so that they can be removed in that order.
    std::vector<std::string> PathsAddedIn(const MachineSnapshot& after) const;
    bool Holds(const std::string& sItem) const { return m_Items.count(sItem) != 0; }
    // Writes the registry under the snapshot's keys back as it was taken:
    // values written, values and keys that were not there deleted.
    void RestoreRegistry() const;

    // Item names, so that callers can pick changes out.
    static std::string FileItem(const std::string& sPath) { return "file " + sPath; }
    static std::string FolderItem(const std::string& sPath) { return "folder " + sPath; }
    static std::string KeyItem(const std::string& sKey) { return "key HKLM\\" + sKey; }
    static std::string ValueItem(const std::string& sKey, const std::string& sName)
    {
        return "value HKLM\\" + sKey + "\\" + (sName.empty() ? "(default)" : sName);
    }

private:
    struct Item
    {
        enum class ItemKind
        {
            Path,
            Key,
            Value,
            Unreadable
        } Kind;
        std::string sPlace; // the file's, folder's or key's path
        std::string sName;  // a value's name
        std::string sText;  // what it holds, as changes show it
        std::string sData;  // compared, not shown: a file's bytes, a value's data
        DWORD dwType;       // a value's type

        bool operator==(const Item& other) const
        {
            return sText == other.sText && sData == other.sData;
        }
    };

    void AddPath(const std::string& sPath);
    void AddFolderContent(const std::string& sFolder);
    void AddFile(const std::string& sPath, const WIN32_FIND_DATAA& data);
    // The key with its values and all its subkeys.
    void AddKey(const std::string& sKey);
    void AddValues(HKEY hKey, const std::string& sKey, DWORD dwMaxName, DWORD dwMaxData);
    void AddSubkeys(HKEY hKey, const std::string& sKey, DWORD dwMaxName);
    void AddUnreadable(const std::string& sItem, const char* pszWhat, DWORD dwError);

    FileDetail m_Detail = FileDetail::Stamp;
    std::vector<std::string> m_Keys;
    // Item name -> what it holds.
    std::map<std::string, Item> m_Items;
};
