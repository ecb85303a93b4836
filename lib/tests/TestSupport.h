#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>
#include <windows.h>

class LogReceiverWindow;

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
    std::string Child(const std::string& name) const { return m_sPath + "\\" + name; }
    std::string operator/(const std::string& name) const { return Child(name); }
    // Writes bytes to a new file in the folder; returns its path.
    std::string AddFile(const std::string& name, const std::string& bytes) const;
    // Names of the entries in the folder, "." and ".." left out.
    std::vector<std::string> Entries() const;

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

// Keys under HKEY_LOCAL_MACHINE.
bool RegKeyExists(const char* pszKey);
bool RegValueExists(const char* pszKey, const char* pszValue);
// Writes a REG_SZ value, creating the key when missing.
bool SetRegString(const char* pszKey, const char* pszValue, const char* pszText);
// A key under HKEY_CURRENT_USER opened to read and set values (made when
// missing); null when it cannot be had. The caller closes it.
HKEY OpenUserKeyForChange(const char* pszKey);

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

// A shell link's target (as stored, not resolved) and description, loaded
// through IShellLinkA; false when the link cannot be read.
struct ShortcutInfo
{
    std::string sTarget;
    std::string sDescription;
};
bool ReadShortcut(const std::string& sLinkPath, ShortcutInfo& info);

// Puts a log receiver window up in this process and restarts the log so that
// it finds it; collects every line sent. Restores the setup's own log on
// destruction. Lines arrive synchronously: the log sends from this thread.
class LogCapture
{
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    bool IsReady() const;
    // Each line's bytes as received, the terminating zero included.
    const std::vector<std::string>& Data() const { return m_Data; }
    // Each line's text after the prefix, without the zero.
    std::vector<std::string> Messages() const;
    void Clear() { m_Data.clear(); }

    // The receiver line prefix of the calling thread, without tag.
    static std::string Prefix();

private:
    std::vector<std::string> m_Data;
    std::unique_ptr<LogReceiverWindow> m_pWindow;
};

// The list of removals Windows does at its next start, saved when made and
// put back when destroyed, so that a test leaves no pending removal behind.
class PendingRemovalsGuard
{
public:
    PendingRemovalsGuard();
    ~PendingRemovalsGuard();
    PendingRemovalsGuard(const PendingRemovalsGuard&) = delete;
    PendingRemovalsGuard& operator=(const PendingRemovalsGuard&) = delete;

    // The current list, as REG_MULTI_SZ bytes.
    static std::string Current();

private:
    bool m_bHadValue;
    std::string m_sSaved;
};
