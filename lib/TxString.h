#pragma once

#include "TxObject.h"

// Counted 8-bit text in the ANSI code page. Positions are 1-based. Never
// throws: positions and counts out of range are ignored or clamped, and a
// failed allocation leaves the string as it was.
class TxString : public TxObject
{
public:
    // Constant: a global string needs no code at start-up.
    constexpr TxString() : m_pText(nullptr), m_iLength(0) {}
    TxString(const char* pszText);
    TxString(const TxString& other);
    TxString& operator=(const TxString& other);
    TxString& operator=(const char* pszText);
    ~TxString() override;

    // Never null: a string without buffer yields a shared empty text.
    const char* GetText() const;
    int Length() const { return m_iLength; }
    bool IsEmpty() const { return m_iLength == 0; }
    // True while the string owns a buffer (it may own one while empty).
    bool HasBuffer() const { return m_pText != nullptr; }

    void Assign(const char* pszText);
    void Assign(const TxString& s);
    void Append(const char* pszText);
    void Append(const TxString& s);
    void Insert(const char* pszText, int iPos);
    void Insert(const TxString& s, int iPos);
    void Delete(int iPos, int iCount);
    void SetLength(int n);
    void SubString(int iPos, int iCount, TxString& out) const;

    // Returns the 1-based position of the match, or 0.
    int Find(const char* pszText, bool bIgnoreCase, bool bBackward, int iStart) const;
    int Find(const TxString& s, bool bIgnoreCase, bool bBackward, int iStart) const;
    bool Replace(const char* pszFind, const char* pszWith, bool bAll, bool bIgnoreCase,
                 bool bBackward);
    bool ReplaceChar(char chFrom, char chTo);

    // Pointer into the buffer at iPos (out-of-range positions are taken as 1).
    char* CharAt(int iPos);

    bool IsEqual(const char* pszText) const;
    bool IsEqual(const TxString& s) const;
    bool IsDifferent(const TxString& s) const { return !IsEqual(s); }
    // Case-insensitive, locale-aware ordering: -1, 0 or +1.
    int Compare(const char* pszText) const;
    int Compare(const TxString& s) const;

    void ToLower();
    void ToUpper();
    void Trim();
    void AddBackslash();
    void RemoveBackslash();
    void AssignFileName(const char* pszPath);

    // True when all iLength bytes are printable ASCII (0x20 to 0x7E). The
    // locale-aware comparison finds two such texts equal only when they have
    // the same length; with a control character or a byte of 0x80 or more on
    // either side it may not (ignorable characters, "\xDF" = "ss").
    static bool IsPlainAscii(const char* pText, int iLength);

    // Bytes allocated for a text of n characters: the smallest multiple of 16
    // greater than n (0 for n = 0).
    static int BufferSizeFor(int n);

private:
    // Replaces the buffer by a fresh one holding head, then mid, then tail.
    bool Rebuild(const char* pHead, int iHead, const char* pMid, int iMid, const char* pTail,
                 int iTail);
    void FreeBuffer();

    char* m_pText;
    int m_iLength;
};
