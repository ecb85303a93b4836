#include "TxTextFile.h"

#include <cstring>
#include <new>

TxTextFile::TxTextFile(const char* pszPath, bool bReadOnly)
    : m_pFile(new TxFile(pszPath, bReadOnly, !bReadOnly)), m_bReadOnly(bReadOnly), m_bOpen(false),
      m_sFileName(pszPath), m_dwIndex(0), m_dwValid(0)
{
    m_bOpen = true;
}

int TxTextFile::NextChar()
{
    if (m_dwIndex >= m_dwValid)
    {
        m_dwIndex = 0;
        m_dwValid = 0;
        m_pFile->Read(m_Buffer, READ_BUFFER_SIZE, &m_dwValid);
        if (m_dwValid == 0)
            return -1;
    }
    return m_Buffer[m_dwIndex++];
}

void TxTextFile::ReadLines(TxStringCollection& lines)
{
    if (!m_bOpen)
        return;
    std::unique_ptr<char[]> pLine(new (std::nothrow) char[LINE_BUFFER_SIZE]());
    if (!pLine)
        return;
    m_dwIndex = 0;
    m_dwValid = 0;
    m_pFile->Seek(0);

    auto add = [&lines](const char* pszLine, int) { lines.Add(pszLine); };
    TxLineSplitter<decltype(add)> splitter(pLine.get(), LINE_BUFFER_SIZE, add);
    for (int ch = NextChar(); ch != -1; ch = NextChar())
        splitter.Put(ch);
    splitter.Finish();
}
