#pragma once

#include "TxHandles.h"
#include "TxString.h"

#include <memory>

// One directory entry: attributes, the three file times, size and name.
class TxFileInfo : public TxObject
{
public:
    TxFileInfo();
    ~TxFileInfo() override = default;
    // Copies the description; attached data stays with the original.
    TxFileInfo(const TxFileInfo& other);
    TxFileInfo& operator=(const TxFileInfo& other);

    bool IsDirectory() const { return (m_dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    bool IsHidden() const { return (m_dwAttributes & FILE_ATTRIBUTE_HIDDEN) != 0; }
    // A directory named exactly "." or "..".
    bool IsDots() const;

    DWORD m_dwReserved0;
    DWORD m_dwAttributes;
    FILETIME m_ftCreationTime;
    FILETIME m_ftLastAccessTime;
    FILETIME m_ftLastWriteTime;
    unsigned long long m_qwSize;
    TxString m_sName;
    // Data a user may attach; deleted with the record.
    std::unique_ptr<TxObject> m_pData;
    DWORD m_dwReserved[3];
};

// Enumerates one directory from FindFirst until destruction.
class TxFindFile
{
public:
    TxFindFile();
    TxFindFile(const TxFindFile&) = delete;
    TxFindFile& operator=(const TxFindFile&) = delete;

    // Searches pszDirectory (a backslash is added when missing) for
    // pszPattern; true if an entry was found.
    bool FindFirst(const char* pszDirectory, const char* pszPattern);
    bool FindNext();
    bool IsDirectory() const
    {
        return (m_FindData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }
    void GetInfo(TxFileInfo& info) const;
    const WIN32_FIND_DATAA& GetFindData() const { return m_FindData; }
    const TxString& GetDirectory() const { return m_sDirectory; }

private:
    WIN32_FIND_DATAA m_FindData;
    TxFindHandle m_hFind;
    TxString m_sDirectory;
    TxString m_sPattern;
};
