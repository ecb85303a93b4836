#include "TxString.h"

#include <cstdlib>
#include <cstring>
#include <windows.h>

namespace
{
const char g_szEmptyText[1] = {0};

int TextLength(const char* psz)
{
    return psz != nullptr ? static_cast<int>(std::strlen(psz)) : 0;
}

char* LoweredCopy(const char* p, int n)
{
    char* pCopy = static_cast<char*>(std::malloc(static_cast<size_t>(n) + 1));
    if (pCopy == nullptr)
        return nullptr;
    std::memcpy(pCopy, p, static_cast<size_t>(n));
    pCopy[n] = 0;
    CharLowerA(pCopy);
    return pCopy;
}

// Search step of Find on plain buffers; see Find for the rules.
int FindIn(const char* pHay, int iHay, const char* pNeedle, int iNeedle, bool bBackward, int iStart)
{
    int iLast = iHay - iNeedle + 1;
    int i = iStart > 0 ? iStart - 1 : 0; // no overflow for the lowest start
    if (i > iLast - 1)
        i = iLast - 1;
    size_t cb = static_cast<size_t>(iNeedle);
    if (!bBackward)
    {
        for (; i <= iLast - 1; ++i)
            if (std::memcmp(pHay + i, pNeedle, cb) == 0)
                return i + 1;
        return 0;
    }
    if (i == 0)
        i = iLast - 1;
    for (; i >= 0; --i)
        if (std::memcmp(pHay + i, pNeedle, cb) == 0)
            return i + 1;
    return 0;
}
} // namespace

TxString::TxString(const char* pszText) : m_pText(nullptr), m_iLength(0)
{
    Assign(pszText);
}

TxString::TxString(const TxString& other) : TxObject(other), m_pText(nullptr), m_iLength(0)
{
    Assign(other);
}

TxString& TxString::operator=(const TxString& other)
{
    Assign(other);
    return *this;
}

TxString& TxString::operator=(const char* pszText)
{
    Assign(pszText);
    return *this;
}

TxString::~TxString()
{
    FreeBuffer();
}

int TxString::BufferSizeFor(int n)
{
    return n <= 0 ? 0 : ((n + 16) / 16) * 16;
}

const char* TxString::GetText() const
{
    return m_pText != nullptr ? m_pText : g_szEmptyText;
}

void TxString::FreeBuffer()
{
    std::free(m_pText);
    m_pText = nullptr;
    m_iLength = 0;
}

bool TxString::Rebuild(const char* pHead, int iHead, const char* pMid, int iMid, const char* pTail,
                       int iTail)
{
    int n = iHead + iMid + iTail;
    if (n <= 0)
    {
        FreeBuffer();
        return true;
    }
    char* p = static_cast<char*>(std::malloc(static_cast<size_t>(BufferSizeFor(n))));
    if (p == nullptr)
        return false;
    // The sources may lie inside the old buffer, which is freed only afterwards.
    std::memcpy(p, pHead, static_cast<size_t>(iHead));
    std::memcpy(p + iHead, pMid, static_cast<size_t>(iMid));
    std::memcpy(p + iHead + iMid, pTail, static_cast<size_t>(iTail));
    p[n] = 0;
    std::free(m_pText);
    m_pText = p;
    m_iLength = n;
    return true;
}

void TxString::Assign(const char* pszText)
{
    int n = TextLength(pszText);
    if (n == 0)
    {
        FreeBuffer();
        return;
    }
    if (pszText == m_pText)
        return;
    Rebuild(pszText, n, nullptr, 0, nullptr, 0);
}

void TxString::Assign(const TxString& s)
{
    if (&s == this)
        return;
    if (s.m_iLength == 0)
    {
        FreeBuffer();
        return;
    }
    Rebuild(s.m_pText, s.m_iLength, nullptr, 0, nullptr, 0);
}

void TxString::Append(const char* pszText)
{
    int n = TextLength(pszText);
    if (n > 0)
        Rebuild(GetText(), m_iLength, pszText, n, nullptr, 0);
}

void TxString::Append(const TxString& s)
{
    if (s.m_iLength > 0)
        Rebuild(GetText(), m_iLength, s.m_pText, s.m_iLength, nullptr, 0);
}

void TxString::Insert(const char* pszText, int iPos)
{
    int n = TextLength(pszText);
    if (n == 0)
        return;
    if (m_pText == nullptr)
    {
        Assign(pszText);
        return;
    }
    if (iPos <= 0)
        return;
    if (iPos > m_iLength + 1)
        iPos = m_iLength + 1;
    int iHead = iPos - 1;
    Rebuild(m_pText, iHead, pszText, n, m_pText + iHead, m_iLength - iHead);
}

void TxString::Insert(const TxString& s, int iPos)
{
    if (iPos <= 0 || s.m_iLength == 0)
        return;
    if (&s == this)
    {
        TxString copy(s);
        Insert(copy.GetText(), iPos);
        return;
    }
    Insert(s.GetText(), iPos);
}

void TxString::Delete(int iPos, int iCount)
{
    if (iPos > m_iLength || iPos <= 0 || iCount <= 0)
        return;
    // Compare in 64 bits: pos + count may overflow for huge counts.
    if (static_cast<long long>(iPos) + iCount > static_cast<long long>(m_iLength) + 1)
    {
        SetLength(iPos - 1);
        return;
    }
    char* pDst = m_pText + iPos - 1;
    std::memmove(pDst, pDst + iCount, static_cast<size_t>(m_iLength - (iPos - 1) - iCount + 1));
    m_iLength -= iCount;
}

void TxString::SetLength(int n)
{
    if (n < 0)
        return;
    if (n == 0)
    {
        FreeBuffer();
        return;
    }
    if (n < m_iLength)
    {
        m_pText[n] = 0;
        m_iLength = n;
        return;
    }
    char* p = static_cast<char*>(std::malloc(static_cast<size_t>(BufferSizeFor(n))));
    if (p == nullptr)
        return;
    std::memset(p, ' ', static_cast<size_t>(n));
    std::memcpy(p, GetText(), static_cast<size_t>(m_iLength));
    p[n] = 0;
    std::free(m_pText);
    m_pText = p;
    m_iLength = n;
}

void TxString::SubString(int iPos, int iCount, TxString& out) const
{
    if (&out == this)
    {
        TxString copy(*this);
        copy.SubString(iPos, iCount, out);
        return;
    }
    out.FreeBuffer();
    if (iPos > m_iLength || iPos < 1 || iCount < 1)
        return;
    if (static_cast<long long>(iPos) + iCount - 1 > m_iLength)
        iCount = m_iLength - iPos + 1;
    out.Rebuild(m_pText + iPos - 1, iCount, nullptr, 0, nullptr, 0);
}

int TxString::Find(const char* pszText, bool bIgnoreCase, bool bBackward, int iStart) const
{
    int n = TextLength(pszText);
    if (n == 0 || m_iLength == 0 || n > m_iLength)
        return 0;
    if (!bIgnoreCase)
        return FindIn(m_pText, m_iLength, pszText, n, bBackward, iStart);
    char* pHay = LoweredCopy(m_pText, m_iLength);
    char* pNeedle = LoweredCopy(pszText, n);
    int iFound = 0;
    if (pHay != nullptr && pNeedle != nullptr)
        iFound = FindIn(pHay, m_iLength, pNeedle, n, bBackward, iStart);
    std::free(pHay);
    std::free(pNeedle);
    return iFound;
}

int TxString::Find(const TxString& s, bool bIgnoreCase, bool bBackward, int iStart) const
{
    return Find(s.GetText(), bIgnoreCase, bBackward, iStart);
}

bool TxString::Replace(const char* pszFind, const char* pszWith, bool bAll, bool bIgnoreCase,
                       bool bBackward)
{
    if (pszFind == nullptr)
        return false;
    if (bAll)
        bBackward = false;
    // Copies: the arguments may point into this string's own buffer.
    TxString sFind(pszFind);
    TxString sWith(pszWith);
    int p = Find(sFind, bIgnoreCase, bBackward, 1);
    if (p == 0)
        return false;
    do
    {
        Delete(p, sFind.Length());
        Insert(sWith.GetText(), p);
        if (!bAll)
            break;
        // Find clamps a start past the last match position back onto it, which
        // would find the inserted text again at the very end: take only matches
        // at or after the start.
        int iNext = p + sWith.Length();
        p = Find(sFind, bIgnoreCase, false, iNext);
        if (p < iNext)
            p = 0;
    } while (p != 0);
    return true;
}

bool TxString::ReplaceChar(char chFrom, char chTo)
{
    bool bReplaced = false;
    for (int i = 0; i < m_iLength; ++i)
    {
        if (m_pText[i] == chFrom)
        {
            m_pText[i] = chTo;
            bReplaced = true;
        }
    }
    return bReplaced;
}

char* TxString::CharAt(int iPos)
{
    if (m_pText == nullptr)
    {
        // A writable stand-in for the shared empty text; reset on every call.
        static char s_szEmpty[1];
        s_szEmpty[0] = 0;
        return s_szEmpty;
    }
    if (iPos < 1 || iPos > m_iLength)
        iPos = 1;
    return m_pText + iPos - 1;
}

bool TxString::IsEqual(const char* pszText) const
{
    int n = TextLength(pszText);
    if (n != m_iLength)
        return false;
    return n == 0 || std::memcmp(m_pText, pszText, static_cast<size_t>(n)) == 0;
}

bool TxString::IsEqual(const TxString& s) const
{
    if (s.m_iLength != m_iLength)
        return false;
    return m_iLength == 0 || std::memcmp(m_pText, s.m_pText, static_cast<size_t>(m_iLength)) == 0;
}

int TxString::Compare(const char* pszText) const
{
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, GetText(), -1,
                          pszText != nullptr ? pszText : g_szEmptyText, -1) -
           2;
}

int TxString::Compare(const TxString& s) const
{
    return Compare(s.GetText());
}

bool TxString::IsPlainAscii(const char* pText, int iLength)
{
    for (int i = 0; i < iLength; ++i)
    {
        unsigned char ch = static_cast<unsigned char>(pText[i]);
        if (ch < 0x20 || ch > 0x7E)
            return false;
    }
    return true;
}

void TxString::ToLower()
{
    if (m_pText != nullptr)
        CharLowerBuffA(m_pText, static_cast<DWORD>(m_iLength));
}

void TxString::ToUpper()
{
    if (m_pText != nullptr)
        CharUpperBuffA(m_pText, static_cast<DWORD>(m_iLength));
}

void TxString::Trim()
{
    int iEnd = m_iLength;
    while (iEnd > 0 && static_cast<unsigned char>(m_pText[iEnd - 1]) <= 0x20)
        --iEnd;
    if (iEnd < m_iLength)
        SetLength(iEnd);
    int iLead = 0;
    while (iLead < m_iLength && static_cast<unsigned char>(m_pText[iLead]) <= 0x20)
        ++iLead;
    if (iLead > 0)
        Delete(1, iLead);
}

void TxString::AddBackslash()
{
    if (m_iLength > 0)
    {
        char ch = m_pText[m_iLength - 1];
        if (ch == '\\' || ch == '/')
            return;
    }
    Append("\\");
}

void TxString::RemoveBackslash()
{
    if (m_iLength > 0 && m_pText[m_iLength - 1] == '\\')
    {
        --m_iLength;
        m_pText[m_iLength] = 0;
    }
}

void TxString::AssignFileName(const char* pszPath)
{
    if (pszPath == nullptr || *pszPath == 0)
    {
        FreeBuffer();
        return;
    }
    const char* pSep = std::strrchr(pszPath, '\\');
    if (pSep == nullptr)
        pSep = std::strrchr(pszPath, '/');
    Assign(pSep != nullptr ? pSep + 1 : pszPath);
}
