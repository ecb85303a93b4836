#pragma once

#include <windows.h>

// Fixed settings of a log, chosen when the program is built.
struct CLogConfig
{
    const char* pszModuleName; // first column of every receiver line
    const char* pszFileName;   // empty: no log file
    bool bSplitAndWrap;        // split messages at line ends and wrap them
    int iWrapWidth;            // line width for wrapping, indent included
    bool bOverwriteFile;       // re-create the file at start instead of appending
    bool bNoFlush;             // skip flushing the file after every line
    bool bTimeStamp;           // begin every file line with the local time
};

// The setup's configuration: receiver only, one line per message.
extern const CLogConfig g_SetupLogConfig;

constexpr int LOG_BUFFER_SIZE = 2048;
constexpr int LOG_MAX_INDENT = 40;

// The process-wide diagnostic log. Sends each line to the log receiver window
// found at start-up and optionally writes it to a file. Call sites test
// g_bLogEnabled first and hold the lock from formatting to the end of Print;
// TX_LOG does both.
class CLog
{
public:
    explicit CLog(const CLogConfig& config = g_SetupLogConfig);
    ~CLog();
    CLog(const CLog&) = delete;
    CLog& operator=(const CLog&) = delete;

    // The message buffer call sites format into, LOG_BUFFER_SIZE characters.
    char* Buffer() { return m_szMessage; }
    void Lock() { EnterCriticalSection(&m_Lock); }
    void Unlock() { LeaveCriticalSection(&m_Lock); }

    // Writes the message buffer as one line (or, with split and wrap, several).
    void Print(const char* pszTag = nullptr);
    // Formats into the message buffer (cut to fit) and prints, under the lock.
    void Printf(const char* pszFormat, ...) __attribute__((format(ms_printf, 2, 3)));
    void EnterFunction(const char* pszName, const char* pszTag = nullptr);
    void LeaveFunction();
    // Opens the log file (pszPath, or the configured one when empty) and
    // appends to it; false, with the last error set, when it cannot be
    // opened or is a link (a reparse point), which is never followed.
    bool OpenFile(const char* pszPath);
    void CloseFile();
    int GetIndent() const { return m_iIndent; }
    bool IsReceiverFound() const { return m_bReceiverFound; }

    // Ends the log and starts it again as at construction: the receiver is
    // searched anew. Lets a test put a receiver window up first.
    void Restart(const CLogConfig& config);

    // "d.m.yy h:mm:ss " for the file lines.
    static void FormatTimeStamp(const SYSTEMTIME& st, char* pszOut, int cchOut);

private:
    void Start(const CLogConfig& config);
    void Stop();
    void SplitAndPrint(char* pszText, const char* pszTag);
    void Wrap(const char* pszText, int iLength, const char* pszTag);
    void WriteLine(const char* pszText, int iLength, const char* pszTag);
    void SetIndent(int iIndent);

    CLogConfig m_Config;
    char m_szMessage[LOG_BUFFER_SIZE];
    CRITICAL_SECTION m_Lock;
    int m_iIndent;
    HWND m_hReceiver;
    HANDLE m_hFile;
    char m_szIndent[LOG_MAX_INDENT + 1];
    bool m_bReceiverFound;
    bool m_bFileOpen;
};

extern CLog g_Log;
// True exactly while the receiver was found or the log file is open.
extern bool g_bLogEnabled;

#define TX_LOG(...)                                                                                \
    do                                                                                             \
    {                                                                                              \
        if (g_bLogEnabled)                                                                         \
            g_Log.Printf(__VA_ARGS__);                                                             \
    } while (0)

// Frames a block of log lines that stand indented by 2.
#define TX_LOG_ENTER(name)                                                                         \
    do                                                                                             \
    {                                                                                              \
        if (g_bLogEnabled)                                                                         \
        {                                                                                          \
            g_Log.Lock();                                                                          \
            g_Log.EnterFunction(name);                                                             \
            g_Log.Unlock();                                                                        \
        }                                                                                          \
    } while (0)

#define TX_LOG_LEAVE()                                                                             \
    do                                                                                             \
    {                                                                                              \
        if (g_bLogEnabled)                                                                         \
        {                                                                                          \
            g_Log.Lock();                                                                          \
            g_Log.LeaveFunction();                                                                 \
            g_Log.Unlock();                                                                        \
        }                                                                                          \
    } while (0)
