#include "CLog.h"

#include "ProductNames.h"
#include "TxHandles.h"
#include "TxPaths.h"
#include "TxPrint.h"

#include <cstdarg>
#include <cstring>

const CLogConfig g_SetupLogConfig = {
    "Setup     ", // module name: "Setup" and five spaces
    "",           // no log file
    false,        // one line per message
    80,           false, true, true,
};

namespace
{
constexpr UINT RECEIVER_TIMEOUT_MS = 5000;

// Lines are composed here; only ever used under the log's lock.
char g_szLine[LOG_BUFFER_SIZE];

bool IsBreakChar(char ch)
{
    return ch == ' ' || ch == ',' || ch == '-' || ch == ';';
}
} // namespace

CLog::CLog(const CLogConfig& config)
{
    InitializeCriticalSection(&m_Lock);
    Start(config);
}

CLog::~CLog()
{
    Stop();
    DeleteCriticalSection(&m_Lock);
}

void CLog::Start(const CLogConfig& config)
{
    m_Config = config;
    m_szMessage[0] = 0;
    m_iIndent = 0;
    m_hReceiver = nullptr;
    m_hFile = INVALID_HANDLE_VALUE;
    m_bReceiverFound = false;
    m_bFileOpen = false;
    std::memset(m_szIndent, ' ', sizeof(m_szIndent));
    m_szIndent[0] = 0;

    // The only search: a receiver started later is never used.
    m_hReceiver = FindWindowA(LOG_RECEIVER_CLASS, LOG_RECEIVER_TITLE);
    m_bReceiverFound = m_hReceiver != nullptr;
    if (m_Config.pszFileName != nullptr && m_Config.pszFileName[0] != 0)
        OpenFile("");
    g_bLogEnabled = m_bReceiverFound || m_bFileOpen;
}

void CLog::Stop()
{
    CloseFile();
    g_bLogEnabled = false;
    m_bReceiverFound = false;
    m_hReceiver = nullptr;
}

void CLog::Restart(const CLogConfig& config)
{
    Lock();
    Stop();
    Start(config);
    Unlock();
}

void CLog::Printf(const char* pszFormat, ...)
{
    Lock();
    va_list args;
    va_start(args, pszFormat);
    // Bounded: an over-long message is cut, never written past the buffer.
    TxPrintV(m_szMessage, sizeof(m_szMessage), pszFormat, args);
    va_end(args);
    Print();
    Unlock();
}

void CLog::SetIndent(int iIndent)
{
    m_szIndent[m_iIndent] = ' ';
    m_iIndent = iIndent;
    m_szIndent[m_iIndent] = 0;
}

void CLog::EnterFunction(const char* pszName, const char* pszTag)
{
    TxPrint(m_szMessage, sizeof(m_szMessage), "%s", pszName != nullptr ? pszName : "");
    Print(pszTag);
    if (m_iIndent < LOG_MAX_INDENT)
        SetIndent(m_iIndent + 2);
}

void CLog::LeaveFunction()
{
    if (m_iIndent >= 2)
        SetIndent(m_iIndent - 2);
}

void CLog::Print(const char* pszTag)
{
    m_szMessage[LOG_BUFFER_SIZE - 1] = 0;
    if (!m_Config.bSplitAndWrap)
    {
        WriteLine(m_szMessage, static_cast<int>(std::strlen(m_szMessage)), pszTag);
        return;
    }
    SplitAndPrint(m_szMessage, pszTag);
}

void CLog::SplitAndPrint(char* pszText, const char* pszTag)
{
    int n = static_cast<int>(std::strlen(pszText));
    for (int i = 0; i < n; ++i)
    {
        if (pszText[i] == '\r')
            pszText[i] = (i + 1 < n && pszText[i + 1] == '\n') ? ' ' : '\n';
    }
    const char* pPiece = pszText;
    for (;;)
    {
        const char* pEnd = std::strchr(pPiece, '\n');
        if (pEnd == nullptr)
        {
            Wrap(pPiece, static_cast<int>(std::strlen(pPiece)), pszTag);
            return;
        }
        Wrap(pPiece, static_cast<int>(pEnd - pPiece), pszTag);
        pPiece = pEnd + 1;
    }
}

void CLog::Wrap(const char* pszText, int iLength, const char* pszTag)
{
    int iWidth = m_Config.iWrapWidth - m_iIndent;
    if (iWidth < 8)
        iWidth = 8; // a narrower width could not make progress
    // A working copy: continuation lines overwrite two characters with spaces.
    char szWork[LOG_BUFFER_SIZE];
    std::memcpy(szWork, pszText, static_cast<size_t>(iLength));
    szWork[iLength] = 0;
    char* p = szWork;
    int iRest = iLength;
    while (iRest > iWidth)
    {
        int i = iWidth - 2;
        for (int j = iWidth - 2; j >= (2 * iWidth) / 3; --j)
        {
            if (IsBreakChar(p[j]))
            {
                i = j;
                break;
            }
        }
        WriteLine(p, i + 1, pszTag);
        p[i - 1] = ' ';
        p[i] = ' ';
        p += i - 1;
        iRest -= i - 1;
    }
    WriteLine(p, iRest, pszTag);
}

void CLog::WriteLine(const char* pszText, int iLength, const char* pszTag)
{
    DWORD dwThread = GetCurrentThreadId();
    const char* pszTagText = pszTag != nullptr ? pszTag : "";
    bool bTag = pszTag != nullptr && pszTag[0] != 0;
    if (m_bReceiverFound)
    {
        int n = bTag ? TxPrint(g_szLine, sizeof(g_szLine), "%s %.8lx %4s  %s%.*s",
                               m_Config.pszModuleName, dwThread, pszTagText, m_szIndent, iLength,
                               pszText)
                     : TxPrint(g_szLine, sizeof(g_szLine), "%s %.8lx       %s%.*s",
                               m_Config.pszModuleName, dwThread, m_szIndent, iLength, pszText);
        if (n >= static_cast<int>(sizeof(g_szLine)))
            n = sizeof(g_szLine) - 1;
        if (n >= 0)
        {
            COPYDATASTRUCT cds = {};
            cds.dwData = 0;
            cds.cbData = static_cast<DWORD>(n) + 1;
            cds.lpData = g_szLine;
            // A receiver that hangs must not hang the setup with it: one that
            // does not answer in time (or has gone) gets no further lines.
            DWORD_PTR dwResult = 0;
            if (SendMessageTimeoutA(m_hReceiver, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds),
                                    SMTO_ABORTIFHUNG, RECEIVER_TIMEOUT_MS, &dwResult) == 0)
            {
                m_bReceiverFound = false;
                g_bLogEnabled = m_bFileOpen;
            }
        }
    }
    if (m_bFileOpen)
    {
        char szStamp[32] = "";
        if (m_Config.bTimeStamp)
        {
            SYSTEMTIME st;
            GetLocalTime(&st);
            FormatTimeStamp(st, szStamp, sizeof(szStamp));
        }
        // Leave room for CR LF after a line cut to fit.
        int n = bTag ? TxPrint(g_szLine, sizeof(g_szLine) - 2, "%s%.8lx %4s  %s%.*s", szStamp,
                               dwThread, pszTagText, m_szIndent, iLength, pszText)
                     : TxPrint(g_szLine, sizeof(g_szLine) - 2, "%s%.8lx       %s%.*s", szStamp,
                               dwThread, m_szIndent, iLength, pszText);
        if (n > static_cast<int>(sizeof(g_szLine)) - 3)
            n = sizeof(g_szLine) - 3;
        if (n >= 0)
        {
            g_szLine[n++] = '\r';
            g_szLine[n++] = '\n';
            DWORD dwWritten = 0;
            WriteFile(m_hFile, g_szLine, static_cast<DWORD>(n), &dwWritten, nullptr);
            if (!m_Config.bNoFlush)
                FlushFileBuffers(m_hFile);
        }
    }
}

void CLog::FormatTimeStamp(const SYSTEMTIME& st, char* pszOut, int cchOut)
{
    if (pszOut == nullptr || cchOut <= 0)
        return;
    TxPrint(pszOut, static_cast<size_t>(cchOut), "%d.%d.%.2d %d:%.2d:%.2d ", st.wDay, st.wMonth,
            st.wYear % 2000, st.wHour, st.wMinute, st.wSecond);
}

namespace
{
bool IsReparsePoint(DWORD dwAttributes)
{
    return dwAttributes != INVALID_FILE_ATTRIBUTES &&
           (dwAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}
} // namespace

bool CLog::OpenFile(const char* pszPath)
{
    CloseFile();
    char szPath[MAX_PATH + 500];
    if (pszPath == nullptr || pszPath[0] == 0)
    {
        if (m_Config.pszFileName == nullptr || m_Config.pszFileName[0] == 0)
            return false;
        TxString sFolder = TxProgramFolder();
        if (sFolder.IsEmpty())
            return false;
        TxString sFile = TxJoinPath(sFolder.GetText(), m_Config.pszFileName);
        TxPrint(szPath, sizeof(szPath), "%s", sFile.GetText());
        pszPath = szPath;
    }
    // A link would let whoever planted it choose the file the (elevated)
    // setup writes to. Checked by name first, then on the handle, which was
    // opened without following a link that took its place meanwhile.
    if (IsReparsePoint(GetFileAttributesA(pszPath)))
    {
        SetLastError(ERROR_CANT_ACCESS_FILE);
        return false;
    }
    TxFileHandle hFile(CreateFileA(pszPath, GENERIC_WRITE, 0, nullptr,
                                   m_Config.bOverwriteFile ? CREATE_ALWAYS : OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!hFile.IsValid())
        return false;
    BY_HANDLE_FILE_INFORMATION info = {};
    if (GetFileInformationByHandle(hFile.Get(), &info) && IsReparsePoint(info.dwFileAttributes))
    {
        SetLastError(ERROR_CANT_ACCESS_FILE);
        return false;
    }
    m_hFile = hFile.Release();
    m_bFileOpen = true;
    if (!m_Config.bOverwriteFile)
        SetFilePointer(m_hFile, 0, nullptr, FILE_END);
    g_bLogEnabled = true;
    return true;
}

void CLog::CloseFile()
{
    if (m_bFileOpen)
        CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    m_bFileOpen = false;
    g_bLogEnabled = m_bReceiverFound;
}
