#pragma once
// COM through ole32.dll, loaded when first needed. Linked to the program,
// ole32 would be loaded with rpcrt4 and combase at every start, for the one
// step at the end that makes shortcuts.
#include <objbase.h>
#include <windows.h>

// COM initialised for the calling thread while the object lives.
class TxComInit
{
public:
    TxComInit();
    ~TxComInit();
    TxComInit(const TxComInit&) = delete;
    TxComInit& operator=(const TxComInit&) = delete;

    HRESULT Result() const { return m_hr; }

private:
    HRESULT m_hr;
};

// CoCreateInstance for an in-process server; fails with
// HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND) when ole32 cannot be loaded.
HRESULT TxCreateInstance(REFCLSID clsid, REFIID iid, void** ppv);
