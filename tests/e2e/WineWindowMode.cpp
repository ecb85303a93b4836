#include "WineWindowMode.h"

#include "TxHandles.h"

namespace
{
constexpr char X11_KEY[] = "Software\\Wine\\X11 Driver";
constexpr char MANAGED_VALUE[] = "Managed";

bool OpenX11Key(TxRegKey& key)
{
    return RegCreateKeyExA(HKEY_CURRENT_USER, X11_KEY, 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, key.Receive(),
                           nullptr) == ERROR_SUCCESS;
}

void SetManaged(HKEY hKey, const std::string& sValue)
{
    RegSetValueExA(hKey, MANAGED_VALUE, 0, REG_SZ, reinterpret_cast<const BYTE*>(sValue.c_str()),
                   static_cast<DWORD>(sValue.size() + 1));
}
} // namespace

WineWindowMode::WineWindowMode() : m_bHadValue(false)
{
    TxRegKey key;
    if (!OpenX11Key(key))
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
    TxRegKey key;
    if (!OpenX11Key(key))
        return;
    if (m_bHadValue)
        SetManaged(key.Get(), m_sOldValue);
    else
        RegDeleteValueA(key.Get(), MANAGED_VALUE);
}
