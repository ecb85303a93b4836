#pragma once

#include <functional>
#include <string>
#include <vector>
#include <windows.h>

// sFolder + "\" + sName, without doubling a separator; an empty folder adds
// none.
std::string JoinPath(const std::string& sFolder, const std::string& sName);

// Names of the entries in a folder, hidden ones and folders included, "."
// and ".." left out.
std::vector<std::string> FolderEntries(const std::string& sFolder);

// A folder of the test's own under the system's temp folder; removed with
// everything in it when the test ends.
class TempFolder
{
public:
    // <temp>\<prefix><process id>_<n>, a new folder each time.
    explicit TempFolder(const char* pszPrefix = "qv_test_");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Without a trailing backslash.
    const std::string& Path() const { return m_sPath; }
    std::string Child(const std::string& name) const { return JoinPath(m_sPath, name); }
    std::string operator/(const std::string& name) const { return Child(name); }
    // Writes bytes to a new file in the folder; returns its path.
    std::string AddFile(const std::string& name, const std::string& bytes) const;
    // Names of the entries in the folder, "." and ".." left out.
    std::vector<std::string> Entries() const { return FolderEntries(m_sPath); }

private:
    std::string m_sPath;
};

bool WriteWholeFile(const std::string& path, const std::string& bytes);
bool PathExists(const std::string& path);
// Removes a file or a whole folder tree, read-only entries included; true
// when nothing is left at the path.
bool DeleteTree(const std::string& path);
std::string ReadWholeFile(const std::string& path);
// The last-write time of a file as a 64-bit FILETIME value; 0 on failure.
unsigned long long LastWriteTime(const std::string& sPath);
// Puts back a file's times and attributes as data holds them, so that reading
// it changes nothing (a read moves the last-access time; Wine drops the
// hidden and read-only bits when times are set).
void KeepFileTimes(const std::string& sPath, const WIN32_FILE_ATTRIBUTE_DATA& data);
// The system's own text for an error code, as ThrowLastError gets it.
std::string SystemErrorText(DWORD dwError);
// The Windows path of a Linux path (as the build hands its trees over):
// Wine shows the Linux root as drive Z:.
std::string WinePath(const std::string& sLinuxPath);
// A symbolic link at sLink to sTarget (which need not exist). Wine's own
// calls make none, so under Wine it is made on the Unix side; Wine then shows
// a link to a folder as a reparse point and follows a link to a file as if
// it were the file, and lists no link whose target is missing (let the
// target stand while the link is made or removed). False when no link could
// be made.
bool MakeSymbolicLink(const std::string& sLink, const std::string& sTarget);
// Removes such a link itself, never its target; true when it is gone.
bool RemoveSymbolicLink(const std::string& sLink);
// Renames an entry as a program of another user could, also while this
// process holds it open: under Wine on the Unix side, past the sharing
// rules of this process's handles (Windows would refuse to rename a folder
// held without FILE_SHARE_DELETE); elsewhere with MoveFileExA.
bool MoveAsAnotherProgram(const std::string& sFrom, const std::string& sTo);
// Runs a Unix tool under Wine ("/bin/chmod", "777 /tmp/x"), which tells
// neither its end nor its exit code: true once done() says the work is seen
// done (within 5 s). False outside Wine.
bool RunUnixTool(const char* pszTool, const std::string& sArguments,
                 const std::function<bool()>& done);
// The Unix path Wine maps a Windows path to; empty outside Wine.
std::string WineUnixPath(const std::string& sPath);

// Registry reads and writes; keys under HKEY_LOCAL_MACHINE unless hRoot
// names another root. view adds KEY_WOW64_64KEY or KEY_WOW64_32KEY.

// A value as stored: its type and its bytes.
struct RegValue
{
    DWORD dwType = REG_NONE;
    std::string sData;

    static RegValue String(const std::string& sText);
    static RegValue Dword(DWORD dwValue);
};
// False when the key or the value is missing.
bool ReadRegValue(const char* pszKey, const char* pszValue, RegValue& value,
                  HKEY hRoot = HKEY_LOCAL_MACHINE, REGSAM view = 0);
// The same from a key the caller opened.
bool ReadRegValue(HKEY hKey, const char* pszValue, RegValue& value);
// A REG_SZ value's text up to its zero, a REG_DWORD value's number; false
// when the value is missing or of another type.
bool ReadRegString(const char* pszKey, const char* pszValue, std::string& sText,
                   HKEY hRoot = HKEY_LOCAL_MACHINE);
bool ReadRegDword(const char* pszKey, const char* pszValue, DWORD& dwData,
                  HKEY hRoot = HKEY_LOCAL_MACHINE);
bool RegKeyExists(const char* pszKey, HKEY hRoot = HKEY_LOCAL_MACHINE);
bool RegValueExists(const char* pszKey, const char* pszValue, REGSAM view = 0);
// Makes the key with the parents it lacks; true when it is there.
bool MakeRegKey(const char* pszKey, HKEY hRoot = HKEY_LOCAL_MACHINE);
// Writes a value, making the key when missing.
bool WriteRegValue(const char* pszKey, const char* pszValue, const RegValue& value,
                   HKEY hRoot = HKEY_LOCAL_MACHINE);
bool SetRegString(const char* pszKey, const char* pszValue, const std::string& sText);
bool DeleteRegValue(const char* pszKey, const char* pszValue, HKEY hRoot = HKEY_LOCAL_MACHINE);

// A registry value as a test found it, put back when the object goes (no
// value when there was none); the constructor with a value sets it meanwhile.
class SavedRegValue
{
public:
    SavedRegValue(HKEY hRoot, const char* pszKey, const char* pszValue);
    SavedRegValue(HKEY hRoot, const char* pszKey, const char* pszValue, const RegValue& value);
    ~SavedRegValue();
    SavedRegValue(const SavedRegValue&) = delete;
    SavedRegValue& operator=(const SavedRegValue&) = delete;

private:
    HKEY m_hRoot;
    std::string m_sKey;
    std::string m_sValue;
    bool m_bHadValue;
    RegValue m_Saved;
};

// The strings of the list of renames Windows does at its next start: pairs
// of a path and its new name, the new name empty for a deletion. Empty when
// there is no list.
std::vector<std::string> PendingRenames();
// Writes the list anew; an empty list removes it.
bool SetPendingRenames(const std::vector<std::string>& strings);
// The list as REG_MULTI_SZ bytes.
std::string PendingRenameBytes();
// The list saved when made and put back when destroyed, so that a test leaves
// no pending removal behind.
class PendingRemovalsGuard
{
public:
    PendingRemovalsGuard();

private:
    SavedRegValue m_Saved;
};

// One entry of a DACL, its SID in text form ("S-1-5-18").
struct DaclEntry
{
    std::string sSid;
    BYTE type;  // ACCESS_ALLOWED_ACE_TYPE, ...
    BYTE flags; // OBJECT_INHERIT_ACE, ...
    DWORD mask;
    bool operator==(const DaclEntry& other) const
    {
        return sSid == other.sSid && type == other.type && flags == other.flags &&
               mask == other.mask;
    }
};
// The DACL of a security descriptor, in order; bProtected receives whether
// it is protected from what its container passes on. Empty when it has none.
std::vector<DaclEntry> DaclEntries(PSECURITY_DESCRIPTOR pDescriptor, bool& bProtected);
// The DACL of a file or folder as the system reads it back; empty when it
// cannot be read or has none.
std::vector<DaclEntry> DaclOf(const std::string& sPath);
constexpr char EVERYONE_SID[] = "S-1-1-0";

// A shell link's target (as stored, not resolved) and description, loaded
// through IShellLinkA; false when the link cannot be read.
struct ShortcutInfo
{
    std::string sTarget;
    std::string sDescription;
};
bool ReadShortcut(const std::string& sLinkPath, ShortcutInfo& info);
