#pragma once

#include "TxCollection.h"
#include "TxFile.h"
#include "TxLineSplitter.h"

#include <memory>

// Reads a whole text file into a string collection, one item per line.
class TxTextFile : public TxObject
{
public:
    // A writable text file is created empty; a failure to open throws.
    TxTextFile(const char* pszPath, bool bReadOnly);
    ~TxTextFile() override = default;

    // Appends every line of the file, from its start, to lines.
    void ReadLines(TxStringCollection& lines);

    static constexpr DWORD READ_BUFFER_SIZE = 8192;
    static constexpr int LINE_BUFFER_SIZE = TX_TEXT_LINE_BUFFER_SIZE;

private:
    // Next byte of the file, or -1 at its end.
    int NextChar();

    std::unique_ptr<TxFile> m_pFile;
    bool m_bReadOnly;
    bool m_bOpen;
    TxString m_sFileName;
    unsigned char m_Buffer[READ_BUFFER_SIZE];
    DWORD m_dwIndex;
    DWORD m_dwValid;
};
