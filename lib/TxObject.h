#pragma once

// Root of the library's own classes. Collections delete what they own through
// this virtual destructor without knowing the item's type.
class TxObject
{
public:
    TxObject() = default;
    TxObject(const TxObject&) = default;
    TxObject& operator=(const TxObject&) = default;
    virtual ~TxObject() = default;
};
