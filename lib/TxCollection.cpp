#include "TxCollection.h"

#include "CLog.h"
#include "TxErrorText.h"
#include "TxException.h"

#include <cstring>
#include <memory>
#include <new>

TxCollection::TxCollection(int iLimit, int iDelta)
    : m_pItems(nullptr), m_iCount(0), m_iLimit(0), m_iDelta(iDelta)
{
    SetLimitImpl(iLimit);
}

TxCollection::~TxCollection()
{
    FreeAll();
    SetLimitImpl(0);
}

TxObject* TxCollection::At(int iIndex) const
{
    if (iIndex < 0 || iIndex >= m_iCount)
    {
        TX_LOG("TxCollection::At - index out of range: iIndex=%d, m_iCount=%d, throwing exception",
               iIndex, m_iCount);
        ThrowLibraryError(TXERR_COLLECTION_INDEX);
    }
    return m_pItems[iIndex];
}

void TxCollection::AtPut(int iIndex, TxObject* pItem)
{
    if (iIndex < 0 || iIndex >= m_iCount)
    {
        TX_LOG("TxCollection::AtPut - index out of range: iIndex=%d, m_iCount=%d, throwing "
               "exception",
               iIndex, m_iCount);
        ThrowLibraryError(TXERR_COLLECTION_INDEX);
    }
    m_pItems[iIndex] = pItem;
}

void TxCollection::AtInsert(int iIndex, TxObject* pItem)
{
    if (m_iCount == m_iLimit)
    {
        SetLimit(m_iLimit + m_iDelta);
        if (m_iCount == m_iLimit)
        {
            TX_LOG("TxCollection::AtInsert - size overflow");
            ThrowLibraryError(TXERR_COLLECTION_OVERFLOW);
        }
    }
    if (iIndex < 0 || iIndex > m_iCount)
    {
        TX_LOG("TxCollection::AtInsert - index out of range: iIndex=%d, m_iCount=%d, throwing "
               "exception",
               iIndex, m_iCount);
        ThrowLibraryError(TXERR_COLLECTION_INDEX);
    }
    std::memmove(m_pItems + iIndex + 1, m_pItems + iIndex,
                 static_cast<size_t>(m_iCount - iIndex) * sizeof(TxObject*));
    m_pItems[iIndex] = pItem;
    ++m_iCount;
}

void TxCollection::AtDelete(int iIndex)
{
    if (iIndex < 0 || iIndex >= m_iCount)
    {
        TX_LOG("TxCollection::AtDelete - index out of range: iIndex=%d, m_iCount=%d, throwing "
               "exception",
               iIndex, m_iCount);
        ThrowLibraryError(TXERR_COLLECTION_INDEX);
    }
    std::memmove(m_pItems + iIndex, m_pItems + iIndex + 1,
                 static_cast<size_t>(m_iCount - iIndex - 1) * sizeof(TxObject*));
    --m_iCount;
}

void TxCollection::Free(int iIndex)
{
    TxObject* pItem = At(iIndex);
    AtDelete(iIndex);
    FreeItem(pItem);
}

void TxCollection::FreeAll()
{
    for (int i = 0; i < m_iCount; ++i)
        FreeItem(m_pItems[i]);
    m_iCount = 0;
}

void TxCollection::FreeItem(TxObject* pItem)
{
    delete pItem;
}

int TxCollection::IndexOf(const TxObject* pItem) const
{
    for (int i = 0; i < m_iCount; ++i)
        if (m_pItems[i] == pItem)
            return i;
    return -1;
}

bool TxCollection::Insert(TxObject* pItem)
{
    AtInsert(m_iCount, pItem);
    return true;
}

void TxCollection::SetLimit(int iLimit)
{
    SetLimitImpl(iLimit);
}

void TxCollection::SetLimitImpl(int iLimit)
{
    if (iLimit < m_iCount)
        iLimit = m_iCount;
    if (iLimit > TX_MAX_COLLECTION_SIZE)
        iLimit = TX_MAX_COLLECTION_SIZE;
    if (iLimit == m_iLimit)
        return;
    TxObject** pNew = nullptr;
    if (iLimit != 0)
    {
        pNew = new (std::nothrow) TxObject*[static_cast<size_t>(iLimit)];
        if (pNew == nullptr)
        {
            TX_LOG("TxCollection::SetLimit - allocation of %d failed, throwing exception",
                   static_cast<int>(static_cast<size_t>(iLimit) * sizeof(TxObject*)));
            ThrowLibraryError(TXERR_COLLECTION_MEMORY);
        }
        if (m_iCount > 0 && m_pItems != nullptr)
            std::memcpy(pNew, m_pItems, static_cast<size_t>(m_iCount) * sizeof(TxObject*));
    }
    delete[] m_pItems;
    m_pItems = pNew;
    m_iLimit = iLimit;
}

void TxStringCollection::SetText(const char* pszText)
{
    TxString sText(pszText);
    if (sText.IsEmpty())
        return;
    sText.Replace("\r\n", "\n", true, false, false);
    sText.Replace("\n\r", "\n", true, false, false);
    sText.ReplaceChar('\r', '\n');
    int p = 1;
    while (p <= sText.Length())
    {
        int iEnd = sText.Find("\n", false, false, p);
        // Find clamps its start to the last position, so check it lies ahead.
        if (iEnd != 0 && iEnd < p)
            iEnd = 0;
        TxString sLine;
        if (iEnd == 0)
        {
            sText.SubString(p, sText.Length() - p + 1, sLine);
            Add(sLine.GetText());
            break;
        }
        sText.SubString(p, iEnd - p, sLine);
        Add(sLine.GetText());
        p = iEnd + 1;
    }
}

void TxStringCollection::Add(const char* pszText)
{
    // Owned by the collection only once the insertion succeeded.
    std::unique_ptr<TxString> pItem(new TxString(pszText));
    Insert(pItem.get());
    pItem.release();
}
