#include "CSetupDatFile.h"

#include "CLog.h"
#include "TxErrorText.h"
#include "TxException.h"

#include <cstring>
#include <new>

namespace
{
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
    for (DWORD i = 0; i < m_nPackageFiles; ++i)
    {
        const PackageFile& entry = PackageFiles[i];
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

bool CSetupDatFile::CopyFile(const char* pszSrcName, const char* pszDstPath)
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
        std::unique_ptr<char[]> pBuffer;
        ReadData(*pEntry, pBuffer);
        WriteTarget(pszDstPath, pBuffer.get(), pEntry->SizeLow, bCreated);
        FILETIME ftCreation = ToFileTime(pEntry->CreationTime);
        FILETIME ftLastAccess = ToFileTime(pEntry->LastAccessTime);
        FILETIME ftLastWrite = ToFileTime(pEntry->LastWriteTime);
        // The bytes are what counts: a file whose times could not be set stays installed.
        SetFileTimes(pszDstPath, &ftCreation, &ftLastAccess, &ftLastWrite);
        return true;
    }
    catch (const std::exception& e)
    {
        TX_LOG("Exception in CSetupDatFile::CopyFile: %s", e.what());
        // The caller records nothing for a failed file, so a shortened copy
        // would be left behind unnoticed: remove it.
        if (bCreated && !DeleteFileA(pszDstPath))
        {
            DWORD dwError = GetLastError();
            TX_LOG("CSetupDatFile::CopyFile: DeleteFileA failed for %s, error=%lu", pszDstPath,
                   dwError);
        }
        return false;
    }
}

void CSetupDatFile::ReadData(const PackageFile& entry, std::unique_ptr<char[]>& pBuffer)
{
    // A block reaching past the end of a truncated archive must not be
    // installed as a shortened file reported as copied.
    const char* pszArchive = m_pDatFile->GetFileName().GetText();
    if (static_cast<unsigned long long>(entry.DataOffset) + entry.SizeLow > m_pDatFile->GetSize())
        ThrowLibraryError(TXERR_FILE_READ, pszArchive);
    pBuffer = std::make_unique<char[]>(entry.SizeLow);
    m_pDatFile->Seek(entry.DataOffset);
    DWORD dwRead = 0;
    m_pDatFile->Read(pBuffer.get(), entry.SizeLow, &dwRead);
    if (dwRead != entry.SizeLow)
        ThrowLibraryError(TXERR_FILE_READ, pszArchive);
}

void CSetupDatFile::WriteTarget(const char* pszDstPath, const char* pData, DWORD dwSize,
                                bool& bCreated)
{
    TxFile target(pszDstPath, false, true);
    bCreated = true;
    target.Write(pData, dwSize);
}

void CSetupDatFile::CloseDatFile()
{
    PackageFiles.reset();
    m_pDatFile.reset();
    m_nPackageFiles = 0;
}
