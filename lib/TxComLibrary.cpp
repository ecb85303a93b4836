#include "TxComLibrary.h"

#include "TxHandles.h"
#include "TxSystemLibrary.h"

#include <vector>

namespace
{
struct ComFunctions
{
    TxModule hOle32;
    HRESULT(WINAPI* pfnInitialize)(LPVOID) = nullptr;
    void(WINAPI* pfnUninitialize)() = nullptr;
    HRESULT(WINAPI* pfnCreateInstance)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*) = nullptr;
    HRESULT(WINAPI* pfnCreateStream)(HGLOBAL, BOOL, LPSTREAM*) = nullptr;

    bool IsComplete() const
    {
        return pfnInitialize != nullptr && pfnUninitialize != nullptr &&
               pfnCreateInstance != nullptr;
    }
};

ComFunctions LoadCom()
{
    ComFunctions com;
    com.hOle32.Reset(LoadSystemLibrary("ole32.dll"));
    HMODULE h = com.hOle32.Get();
    com.pfnInitialize = ModuleFunction<decltype(com.pfnInitialize)>(h, "CoInitialize");
    com.pfnUninitialize = ModuleFunction<decltype(com.pfnUninitialize)>(h, "CoUninitialize");
    com.pfnCreateInstance = ModuleFunction<decltype(com.pfnCreateInstance)>(h, "CoCreateInstance");
    com.pfnCreateStream = ModuleFunction<decltype(com.pfnCreateStream)>(h, "CreateStreamOnHGlobal");
    return com;
}

// Loaded once and kept until the program ends: objects made through it may
// outlive any one caller.
const ComFunctions& Com()
{
    static const ComFunctions s_Com = LoadCom();
    return s_Com;
}

const HRESULT E_NO_OLE32 = HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);

struct StringFunctions
{
    TxModule hOleAut32;
    BSTR(WINAPI* pfnAlloc)(const OLECHAR*) = nullptr;
    void(WINAPI* pfnFree)(BSTR) = nullptr;
};

const StringFunctions& Strings()
{
    static const StringFunctions s_Strings = []
    {
        StringFunctions strings;
        strings.hOleAut32.Reset(LoadSystemLibrary("oleaut32.dll"));
        HMODULE h = strings.hOleAut32.Get();
        strings.pfnAlloc = ModuleFunction<decltype(strings.pfnAlloc)>(h, "SysAllocString");
        strings.pfnFree = ModuleFunction<decltype(strings.pfnFree)>(h, "SysFreeString");
        return strings;
    }();
    return s_Strings;
}
} // namespace

TxComInit::TxComInit() : m_hr(Com().IsComplete() ? Com().pfnInitialize(nullptr) : E_NO_OLE32) {}

TxComInit::~TxComInit()
{
    // Every successful CoInitialize, S_FALSE included, needs its pair.
    if (SUCCEEDED(m_hr))
        Com().pfnUninitialize();
}

HRESULT TxCreateInstance(REFCLSID clsid, REFIID iid, void** ppv, DWORD dwContext)
{
    if (!Com().IsComplete())
        return E_NO_OLE32;
    return Com().pfnCreateInstance(clsid, nullptr, dwContext, iid, ppv);
}

HRESULT TxCreateMemoryStream(IStream** ppStream)
{
    if (Com().pfnCreateStream == nullptr)
        return E_NO_OLE32;
    return Com().pfnCreateStream(nullptr, TRUE, ppStream);
}

TxBstr::TxBstr(const char* pszText)
{
    if (Strings().pfnAlloc == nullptr || Strings().pfnFree == nullptr)
        return;
    int cch = MultiByteToWideChar(CP_ACP, 0, pszText, -1, nullptr, 0);
    if (cch <= 0)
        return;
    std::vector<WCHAR> wide(static_cast<size_t>(cch));
    if (MultiByteToWideChar(CP_ACP, 0, pszText, -1, wide.data(), cch) == cch)
        m_bstr = Strings().pfnAlloc(wide.data());
}

TxBstr::~TxBstr()
{
    if (m_bstr != nullptr)
        Strings().pfnFree(m_bstr);
}
