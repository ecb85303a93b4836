#include "WineWindowMode.h"

#include "TestSupport.h"
#include "TxHandles.h"

namespace
{
constexpr char X11_KEY[] = "Software\\Wine\\X11 Driver";
constexpr char MANAGED_VALUE[] = "Managed";

void SetManaged(HKEY hKey, const std::string& sValue)
{
    RegSetValueExA(hKey, MANAGED_VALUE, 0, REG_SZ, reinterpret_cast<const BYTE*>(sValue.c_str()),
                   static_cast<DWORD>(sValue.size() + 1));
}
} // namespace

WineWindowMode::WineWindowMode() : m_bHadValue(false)
{
    TxRegKey key(OpenUserKeyForChange(X11_KEY));
    if (!key.IsValid())
        return;
    char szOld[64] = "";
    DWORD dwSize = sizeof(szOld) - 1;
    DWORD dwType = 0;
    if (RegQueryValueExA(key.Get(), MANAGED_VALUE, nullptr, &dwType, reinterpret_cast<BYTE*>(szOld),
                         &dwSize) == ERROR_SUCCESS &&
        dwType == REG_SZ)
    {
        m_bHadValue = true;
        m_sOldValue = szOld;
    }
    SetManaged(key.Get(), "N");
}

WineWindowMode::~WineWindowMode()
{
    TxRegKey key(OpenUserKeyForChange(X11_KEY));
    if (!key.IsValid())
        return;
    if (m_bHadValue)
        SetManaged(key.Get(), m_sOldValue);
    else
        RegDeleteValueA(key.Get(), MANAGED_VALUE);
}
