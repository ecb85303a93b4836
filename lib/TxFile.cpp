#include "TxFile.h"

#include "CLog.h"
#include "TxErrorText.h"
#include "TxException.h"
#include "TxFaultInjection.h"

#include <utility>

TxFile::TxFile(const char* pszPath, bool bReadOnly, bool bCreate, bool bNewOnly)
    : m_bReadOnly(bReadOnly), m_bOpen(false), m_dwCurrentPos(0), m_dwCurrentSize(0),
      m_sFileName(pszPath), m_bCheckBounds(false)
{
    DWORD dwAccess = bReadOnly ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    DWORD dwShare = bReadOnly ? FILE_SHARE_READ : 0;
    DWORD dwDisposition =
        (!bReadOnly && bCreate) ? (bNewOnly ? CREATE_NEW : CREATE_ALWAYS) : OPEN_EXISTING;
    DWORD dwFlags = FILE_ATTRIBUTE_NORMAL | (bNewOnly ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    if (!TX_FAULT(TXFAULT_CREATE))
        m_hFile.Reset(CreateFileA(m_sFileName.GetText(), dwAccess, dwShare, nullptr, dwDisposition,
                                  dwFlags, nullptr));
    TakeOpened();
}

TxFile::TxFile(TxFileHandle&& hFile, const char* pszPath, bool bReadOnly)
    : m_hFile(std::move(hFile)), m_bReadOnly(bReadOnly), m_bOpen(false), m_dwCurrentPos(0),
      m_dwCurrentSize(0), m_sFileName(pszPath), m_bCheckBounds(false)
{
    TakeOpened();
}

void TxFile::TakeOpened()
{
    if (!m_hFile.IsValid())
    {
        DWORD dwError = GetLastError();
        TX_LOG("TxFile::TxFile: File %s could not be open", m_sFileName.GetText());
        SetLastError(dwError);
        ThrowLastError(false);
        // No error code was reported: there is still no file to work on.
        ThrowLibraryError(TXERR_FILE_READ, m_sFileName.GetText());
    }
    m_bOpen = true;
    m_dwCurrentSize = GetFileSize(m_hFile.Get(), nullptr);
    if (m_dwCurrentSize == INVALID_FILE_SIZE)
    {
        // Logged on the result itself; only a set error code is a failure,
        // as a file of 4 GiB - 1 bytes gives the same result.
        DWORD dwError = GetLastError();
        TX_LOG("TxFile::TxFile: GetFileSize() failed by %s", m_sFileName.GetText());
        if (dwError != NO_ERROR)
        {
            SetLastError(dwError);
            ThrowLastError(false);
        }
    }
}

void TxFile::Read(void* pBuffer, DWORD dwCount, DWORD* pdwRead)
{
    if (!m_bOpen)
    {
        TX_LOG("TxFile::Read: reading closed file: %s. ", m_sFileName.GetText());
        ThrowLibraryError(TXERR_FILE_READ, m_sFileName.GetText());
    }
    if (m_bCheckBounds &&
        static_cast<unsigned long long>(m_dwCurrentPos) + dwCount > m_dwCurrentSize)
    {
        TX_LOG("TxFile::Read: reading behind the end of file: %s. dwCount=%d, "
               "m_dwCurrentSize=%d, m_dwCurrentPos=%d",
               m_sFileName.GetText(), static_cast<int>(dwCount), static_cast<int>(m_dwCurrentSize),
               static_cast<int>(m_dwCurrentPos));
        ThrowLibraryError(TXERR_FILE_READ, m_sFileName.GetText());
    }
    DWORD dwRead = 0;
    if (!ReadFile(m_hFile.Get(), pBuffer, dwCount, &dwRead, nullptr))
    {
        DWORD dwError = GetLastError();
        TX_LOG("TxFile::Read: ReadFile() failed by %s", m_sFileName.GetText());
        SetLastError(dwError);
        ThrowLastError(false);
    }
    m_dwCurrentPos += dwRead;
    if (pdwRead != nullptr)
        *pdwRead = dwRead;
}

void TxFile::Write(const void* pBuffer, DWORD dwCount)
{
    if (!m_bOpen)
    {
        TX_LOG("TxFile::Write: Attempt to write to closed file %s", m_sFileName.GetText());
        return;
    }
    if (m_bReadOnly)
    {
        TX_LOG("TxFile::Write: Attempt to write to read-only file %s", m_sFileName.GetText());
        return;
    }
    DWORD dwWritten = 0;
    // An injected fault writes half, as a disk that fills up would.
    bool bFault = TX_FAULT(TXFAULT_WRITE);
    if (bFault)
    {
        WriteFile(m_hFile.Get(), pBuffer, dwCount / 2, &dwWritten, nullptr);
        SetLastError(ERROR_DISK_FULL);
    }
    if (bFault || !WriteFile(m_hFile.Get(), pBuffer, dwCount, &dwWritten, nullptr))
    {
        DWORD dwError = GetLastError();
        TX_LOG("TxFile::Write: WriteFile() failed by %s", m_sFileName.GetText());
        SetLastError(dwError);
        ThrowLastError(false);
    }
    if (dwWritten < dwCount)
    {
        TX_LOG("TxFile::Write: WriteFile() failed by %s - dwCount=%d, dwWasWritten=%d",
               m_sFileName.GetText(), static_cast<int>(dwCount), static_cast<int>(dwWritten));
        ThrowLibraryError(TXERR_FILE_WRITE, m_sFileName.GetText());
    }
    m_dwCurrentPos += dwWritten;
    if (m_dwCurrentPos > m_dwCurrentSize)
        m_dwCurrentSize = m_dwCurrentPos;
}

void TxFile::Seek(DWORD dwPos)
{
    if (!m_bOpen)
    {
        TX_LOG("TxFile::Seek: seeking in closed file: %s. ", m_sFileName.GetText());
        return;
    }
    if (m_bCheckBounds && dwPos > m_dwCurrentSize)
    {
        TX_LOG("TxFile::Seek: seeking behind the end of file: %s. dwPos=%d, m_dwCurrentSize=%d",
               m_sFileName.GetText(), static_cast<int>(dwPos), static_cast<int>(m_dwCurrentSize));
        ThrowLibraryError(TXERR_FILE_SEEK, m_sFileName.GetText());
    }
    // A zero high part makes the system read dwPos as unsigned, so positions
    // from 2 GiB to 4 GiB work; without it they would count as negative.
    LONG lHigh = 0;
    SetLastError(NO_ERROR);
    DWORD dwResult = SetFilePointer(m_hFile.Get(), static_cast<LONG>(dwPos), &lHigh, FILE_BEGIN);
    DWORD dwError = GetLastError();
    if (dwResult == INVALID_SET_FILE_POINTER)
    {
        // As for the size: the line on the result, the failure on the error code.
        TX_LOG("TxFile::Seek: SetFilePointer() failed by %s dwPos=%d, m_dwCurrentSize=%d",
               m_sFileName.GetText(), static_cast<int>(dwPos), static_cast<int>(m_dwCurrentSize));
        if (dwError != NO_ERROR)
        {
            SetLastError(dwError);
            ThrowLastError(false);
        }
    }
    m_dwCurrentPos = dwResult;
}
