#pragma once

#include "TxHandles.h"
#include "TxString.h"

// A file of bytes with its own bookkeeping of position and size (32-bit:
// files of 4 GiB or more are outside the design). Failures are logged and
// thrown as ExNormal; writes and seeks on a closed file are logged and ignored.
class TxFile : public TxObject
{
public:
    // readOnly opens an existing file shared for reading; otherwise the file
    // is opened exclusively, created empty when bCreate is true; bNewOnly
    // then refuses a name that is taken (a link included) instead of
    // emptying what stands there.
    TxFile(const char* pszPath, bool bReadOnly, bool bCreate, bool bNewOnly = false);
    // Takes over a file the caller opened (its failure, an invalid handle
    // with the last error set, is logged and thrown like an open's).
    TxFile(TxFileHandle&& hFile, const char* pszPath, bool bReadOnly);
    ~TxFile() override = default;
    TxFile(const TxFile&) = delete;
    TxFile& operator=(const TxFile&) = delete;

    DWORD GetSize() const { return m_bOpen ? m_dwCurrentSize : 0; }
    DWORD GetPosition() const { return m_dwCurrentPos; }
    const TxString& GetFileName() const { return m_sFileName; }
    void SetCheckBounds(bool bCheck) { m_bCheckBounds = bCheck; }
    // The open handle, for calls the class does not wrap (file times); the
    // object keeps owning it.
    HANDLE GetHandle() const { return m_hFile.Get(); }

    void Read(void* pBuffer, DWORD dwCount, DWORD* pdwRead);
    void Write(const void* pBuffer, DWORD dwCount);
    void Seek(DWORD dwPos);

private:
    void TakeOpened();

    TxFileHandle m_hFile;
    bool m_bReadOnly;
    bool m_bOpen;
    DWORD m_dwCurrentPos;
    DWORD m_dwCurrentSize;
    TxString m_sFileName;
    bool m_bCheckBounds;
};
