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

// CoCreateInstance for a server of the given kind, in-process unless told;
// fails with HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND) when ole32 cannot be
// loaded.
HRESULT TxCreateInstance(REFCLSID clsid, REFIID iid, void** ppv,
                         DWORD dwContext = CLSCTX_INPROC_SERVER);

// A stream in memory that grows as it is written (CreateStreamOnHGlobal);
// fails with HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND) when ole32 cannot be
// loaded.
HRESULT TxCreateMemoryStream(IStream** ppStream);

// A BSTR of an ANSI text, owned while the object lives; made through
// oleaut32, loaded when first needed. Get() is null when it could not be made.
class TxBstr
{
public:
    explicit TxBstr(const char* pszText);
    ~TxBstr();
    TxBstr(const TxBstr&) = delete;
    TxBstr& operator=(const TxBstr&) = delete;

    BSTR Get() const { return m_bstr; }

private:
    BSTR m_bstr = nullptr;
};
