#include "TxFindFile.h"

#include <cstring>

TxFileInfo::TxFileInfo()
    : m_dwReserved0(0), m_dwAttributes(0), m_ftCreationTime(), m_ftLastAccessTime(),
      m_ftLastWriteTime(), m_qwSize(0), m_dwReserved()
{
}

TxFileInfo::TxFileInfo(const TxFileInfo& other) : TxObject(other), m_pData()
{
    *this = other;
}

TxFileInfo& TxFileInfo::operator=(const TxFileInfo& other)
{
    if (this == &other)
        return *this;
    m_dwReserved0 = other.m_dwReserved0;
    m_dwAttributes = other.m_dwAttributes;
    m_ftCreationTime = other.m_ftCreationTime;
    m_ftLastAccessTime = other.m_ftLastAccessTime;
    m_ftLastWriteTime = other.m_ftLastWriteTime;
    m_qwSize = other.m_qwSize;
    m_sName = other.m_sName;
    for (int i = 0; i < 3; ++i)
        m_dwReserved[i] = other.m_dwReserved[i];
    return *this;
}

bool TxFileInfo::IsDots() const
{
    return IsDirectory() && (m_sName.IsEqual(".") || m_sName.IsEqual(".."));
}

TxFindFile::TxFindFile() : m_FindData() {}

bool TxFindFile::FindFirst(const char* pszDirectory, const char* pszPattern)
{
    m_sDirectory = pszDirectory;
    if (m_sDirectory.IsEmpty() || *m_sDirectory.CharAt(m_sDirectory.Length()) != '\\')
        m_sDirectory.Append("\\");
    m_sPattern = pszPattern;
    TxString sSearch(m_sDirectory);
    sSearch.Append(m_sPattern);
    // A second FindFirst closes the earlier search first.
    m_hFind.Reset(FindFirstFileA(sSearch.GetText(), &m_FindData));
    return m_hFind.IsValid();
}

bool TxFindFile::FindNext()
{
    return m_hFind.IsValid() && FindNextFileA(m_hFind.Get(), &m_FindData) != FALSE;
}

void TxFindFile::GetInfo(TxFileInfo& info) const
{
    info.m_dwReserved0 = 0;
    info.m_dwAttributes = m_FindData.dwFileAttributes;
    info.m_ftCreationTime = m_FindData.ftCreationTime;
    info.m_ftLastAccessTime = m_FindData.ftLastAccessTime;
    info.m_ftLastWriteTime = m_FindData.ftLastWriteTime;
    info.m_qwSize =
        (static_cast<unsigned long long>(m_FindData.nFileSizeHigh) << 32) | m_FindData.nFileSizeLow;
    // The record's name field is 260 bytes; never read past it.
    char szName[MAX_PATH + 1];
    std::memcpy(szName, m_FindData.cFileName, MAX_PATH);
    szName[MAX_PATH] = 0;
    info.m_sName = szName;
}
