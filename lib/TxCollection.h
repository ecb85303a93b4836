#pragma once

#include "TxString.h"

// The maximum number of items any collection holds.
constexpr int TX_MAX_COLLECTION_SIZE = 0x100000;

// Ordered array of owned items with a fixed growth step. Misuse is logged
// and thrown as ExNormal; the collection is then left as it was (growth
// already done by AtInsert excepted).
class TxCollection : public TxObject
{
public:
    TxCollection(int iLimit, int iDelta);
    ~TxCollection() override;
    TxCollection(const TxCollection&) = delete;
    TxCollection& operator=(const TxCollection&) = delete;

    int GetCount() const { return m_iCount; }
    int GetLimit() const { return m_iLimit; }
    // The item at iIndex (borrowed; the collection still owns it).
    TxObject* At(int iIndex) const;
    void AtInsert(int iIndex, TxObject* pItem);
    // Replaces the pointer at iIndex; the former item is not deleted.
    void AtPut(int iIndex, TxObject* pItem);
    // Takes the pointer out; the item stays alive and the caller owns it.
    void AtDelete(int iIndex);
    void Free(int iIndex);
    void FreeAll();

    virtual void FreeItem(TxObject* pItem);
    virtual int IndexOf(const TxObject* pItem) const;
    virtual bool Insert(TxObject* pItem);
    virtual void SetLimit(int iLimit);

private:
    void SetLimitImpl(int iLimit);

    TxObject** m_pItems;
    int m_iCount;
    int m_iLimit;
    int m_iDelta;
};

// Collection of owned TxString items.
class TxStringCollection : public TxCollection
{
public:
    TxStringCollection(int iLimit = 32, int iDelta = 64) : TxCollection(iLimit, iDelta) {}

    TxString* StringAt(int iIndex) const { return static_cast<TxString*>(At(iIndex)); }
    // Appends a copy of pszText.
    void Add(const char* pszText);
    // Splits text at CR LF, LF CR, CR or LF and appends one string per line.
    virtual void SetText(const char* pszText);
};
