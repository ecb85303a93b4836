#include "CSetupDatFile.h"

#include "CLog.h"
#include "TxErrorText.h"
#include "TxException.h"
#include "TxSafeFile.h"

#include <cstring>
#include <new>

namespace
{
// Small enough to come from the heap's reused blocks rather than fresh pages
// for every file (large blocks are mapped anew and fault in page by page).
const DWORD EXTRACT_BUFFER_SIZE = 256 * 1024;

// A fixed-size text field as a string, never reading past the field.
template <std::size_t N> TxString FieldText(const char (&field)[N])
{
    char szText[N + 1];
    std::size_t n = SetupDatFieldLength(field, N);
    std::memcpy(szText, field, n);
    szText[n] = 0;
    return TxString(szText);
}

FILETIME ToFileTime(const SetupDatFileTime& ft)
{
    FILETIME result;
    result.dwLowDateTime = ft.dwLowDateTime;
    result.dwHighDateTime = ft.dwHighDateTime;
    return result;
}
} // namespace

CSetupDatFile::CSetupDatFile() : m_nPackageFiles(0) {}

CSetupDatFile::~CSetupDatFile()
{
    CloseDatFile();
}

bool CSetupDatFile::OpenDatFile(const char* pszPath)
{
    CloseDatFile();
    try
    {
        m_pDatFile = std::make_unique<TxFile>(pszPath, true, false);
        SetupDatFileHeader header = {};
        DWORD dwRead = 0;
        m_pDatFile->Read(&header, sizeof(header), &dwRead);
        if (dwRead != sizeof(header))
        {
            TX_LOG("CSetupDatFile::OpenDatFile: Failure to read SetupDatFileHeader from %s",
                   pszPath);
            return false;
        }
        if (FieldText(header.Signature).Compare(SETUPDAT_SIGNATURE) != 0)
        {
            TX_LOG("CSetupDatFile::OpenDatFile: Invalid header in %s", pszPath);
            return false;
        }
        m_nPackageFiles = header.FileCount;
        return ReadTable(pszPath);
    }
    catch (const std::exception& e)
    {
        TX_LOG("Exception in CSetupDatFile::OpenDatFile: %s", e.what());
        return false;
    }
}

bool CSetupDatFile::ReadTable(const char* pszPath)
{
    // A count whose table cannot lie in the file is refused before any
    // allocation: a corrupt count must neither exhaust memory nor wrap the
    // 32-bit byte count into a short, seemingly valid read.
    bool bFits = SetupDatTableEnd(m_nPackageFiles) <= m_pDatFile->GetSize();
    if (bFits)
        PackageFiles.reset(new (std::nothrow) PackageFile[m_nPackageFiles]());
    DWORD dwWanted = m_nPackageFiles * SETUPDAT_ENTRY_SIZE;
    DWORD dwRead = 0;
    if (PackageFiles)
        m_pDatFile->Read(PackageFiles.get(), dwWanted, &dwRead);
    if (!PackageFiles || dwRead != dwWanted)
    {
        PackageFiles.reset();
        m_nPackageFiles = 0;
        TX_LOG("CSetupDatFile::OpenDatFile: Failure to read PackageFiles from %s", pszPath);
        return false;
    }
    return true;
}

const PackageFile* CSetupDatFile::Find(const char* pszName) const
{
    if (!PackageFiles)
        return nullptr;
    TxString sName;
    sName.AssignFileName(pszName);
    // Every file of an installation searches the whole table: of two plain
    // ASCII names only those of the same length go to the costly
    // locale-aware comparison, which decides every other pair.
    std::size_t cchName = static_cast<std::size_t>(sName.Length());
    bool bPlainName = TxString::IsPlainAscii(sName.GetText(), sName.Length());
    for (DWORD i = 0; i < m_nPackageFiles; ++i)
    {
        const PackageFile& entry = PackageFiles[i];
        std::size_t cchEntry = SetupDatFieldLength(entry.Name, sizeof(entry.Name));
        if (cchEntry != cchName && bPlainName &&
            TxString::IsPlainAscii(entry.Name, static_cast<int>(cchEntry)))
            continue;
        if (sName.Compare(FieldText(entry.Name)) == 0)
            return &entry;
    }
    return nullptr;
}

bool CSetupDatFile::FindPackageFile(const char* pszName, TxFileInfo* pInfo) const
{
    const PackageFile* pEntry = Find(pszName);
    if (pEntry == nullptr)
        return false;
    if (pInfo != nullptr)
    {
        pInfo->m_dwAttributes = pEntry->Attributes;
        pInfo->m_ftCreationTime = ToFileTime(pEntry->CreationTime);
        pInfo->m_ftLastAccessTime = ToFileTime(pEntry->LastAccessTime);
        pInfo->m_ftLastWriteTime = ToFileTime(pEntry->LastWriteTime);
        pInfo->m_qwSize =
            (static_cast<unsigned long long>(pEntry->SizeHigh) << 32) | pEntry->SizeLow;
        pInfo->m_sName = FieldText(pEntry->Name);
    }
    return true;
}

bool CSetupDatFile::CopyFile(const char* pszSrcName, const char* pszDstPath, bool bNewOnly)
{
    if (!PackageFiles)
    {
        TX_LOG("CSetupDatFile::CopyFile: PackageFiles == NULL");
        return false;
    }
    const PackageFile* pEntry = Find(pszSrcName);
    if (pEntry == nullptr)
    {
        TxString sName;
        sName.AssignFileName(pszSrcName);
        TX_LOG("CSetupDatFile::CopyFile: file not found: %s", sName.GetText());
        return false;
    }
    bool bCreated = false;
    try
    {
        CheckDataBlock(*pEntry);
        CopyData(*pEntry, pszDstPath, bNewOnly, bCreated);
        return true;
    }
    catch (const std::exception& e)
    {
        TX_LOG("Exception in CSetupDatFile::CopyFile: %s", e.what());
        // The caller records nothing for a failed file, so a shortened copy
        // would be left behind unnoticed: remove it, through a handle that
        // does not follow a link put in its place since.
        if (bCreated)
        {
            TxFileHandle hPartial =
                TxOpenEntry(pszDstPath, TX_ENTRY_FILE, TX_ACCESS_REMOVE, TX_SHARE_ALL);
            if (!hPartial.IsValid() || !TxDeleteEntry(hPartial.Get()))
                TX_LOG("CSetupDatFile::CopyFile: deleting %s failed, error=%lu", pszDstPath,
                       GetLastError());
        }
        return false;
    }
}

void CSetupDatFile::CheckDataBlock(const PackageFile& entry) const
{
    // A block reaching past the end of a truncated archive must not be
    // installed as a shortened file reported as copied.
    if (static_cast<unsigned long long>(entry.DataOffset) + entry.SizeLow > m_pDatFile->GetSize())
        ThrowLibraryError(TXERR_FILE_READ, m_pDatFile->GetFileName().GetText());
}

void CSetupDatFile::CopyData(const PackageFile& entry, const char* pszDstPath, bool bNewOnly,
                             bool& bCreated)
{
    // Copied through one reused buffer of moderate size: a buffer of the whole
    // entry costs its size in memory and a page fault per page, which made
    // large entries extract at a third of CopyFileA's speed.
    const DWORD dwBufferSize =
        entry.SizeLow < EXTRACT_BUFFER_SIZE ? entry.SizeLow : EXTRACT_BUFFER_SIZE;
    std::unique_ptr<char[]> pBuffer(new char[dwBufferSize > 0 ? dwBufferSize : 1]);
    m_pDatFile->Seek(entry.DataOffset);
    TxFile target(pszDstPath, false, true, bNewOnly);
    bCreated = true;
    for (DWORD dwLeft = entry.SizeLow; dwLeft > 0;)
    {
        DWORD dwChunk = dwLeft < dwBufferSize ? dwLeft : dwBufferSize;
        DWORD dwRead = 0;
        m_pDatFile->Read(pBuffer.get(), dwChunk, &dwRead);
        if (dwRead != dwChunk)
            ThrowLibraryError(TXERR_FILE_READ, m_pDatFile->GetFileName().GetText());
        target.Write(pBuffer.get(), dwChunk);
        dwLeft -= dwChunk;
    }
    // Set on the open handle, after the last write: the target was just
    // created with normal attributes, so there is nothing for SetFileTimes
    // to clear, and reopening it by name cost more than the data of a small
    // entry. The bytes are what counts: a failure here is ignored.
    FILETIME ftCreation = ToFileTime(entry.CreationTime);
    FILETIME ftLastAccess = ToFileTime(entry.LastAccessTime);
    FILETIME ftLastWrite = ToFileTime(entry.LastWriteTime);
    SetFileTime(target.GetHandle(), &ftCreation, &ftLastAccess, &ftLastWrite);
}

void CSetupDatFile::CloseDatFile()
{
    PackageFiles.reset();
    m_pDatFile.reset();
    m_nPackageFiles = 0;
}
