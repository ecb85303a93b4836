#include "RegistryHelpers.h"

#include "TxHandles.h"

#include <vector>

#include <cstring>

bool RegistryValueExists(HKEY hRoot, const char* pszSubKey, const char* pszValue)
{
    TxRegKey key;
    if (RegOpenKeyExA(hRoot, pszSubKey, 0, KEY_QUERY_VALUE, key.Receive()) != ERROR_SUCCESS)
        return false;
    return RegQueryValueExA(key.Get(), pszValue, nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

bool RegistryCreateKey(HKEY hRoot, const char* pszSubKey)
{
    TxRegKey key;
    return RegCreateKeyExA(hRoot, pszSubKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                           nullptr, key.Receive(), nullptr) == ERROR_SUCCESS;
}

bool RegistryDeleteKey(HKEY hRoot, const char* pszSubKey)
{
    return RegDeleteKeyA(hRoot, pszSubKey) == ERROR_SUCCESS;
}

bool RegistrySetString(HKEY hRoot, const char* pszSubKey, const char* pszValue, const char* pszText)
{
    TxRegKey key;
    if (RegCreateKeyExA(hRoot, pszSubKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                        key.Receive(), nullptr) != ERROR_SUCCESS)
        return false;
    const char* pszData = pszText != nullptr ? pszText : "";
    DWORD cbData = static_cast<DWORD>(std::strlen(pszData)) + 1;
    return RegSetValueExA(key.Get(), pszValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(pszData),
                          cbData) == ERROR_SUCCESS;
}

bool RegistryGetString(HKEY hRoot, const char* pszSubKey, const char* pszValue, TxString& sText)
{
    TxRegKey key;
    if (RegOpenKeyExA(hRoot, pszSubKey, 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
        return false;
    // One byte beyond what the system may fill, so that a value stored
    // without its terminating zero is still read as a terminated text.
    char szBuffer[REG_STRING_BUFFER_SIZE + 1];
    DWORD dwType = 0;
    DWORD cbData = REG_STRING_BUFFER_SIZE;
    if (RegQueryValueExA(key.Get(), pszValue, nullptr, &dwType, reinterpret_cast<BYTE*>(szBuffer),
                         &cbData) != ERROR_SUCCESS)
        return false;
    if (dwType != REG_SZ && dwType != REG_EXPAND_SZ)
        return false;
    if (cbData > REG_STRING_BUFFER_SIZE)
        return false;
    szBuffer[cbData] = 0;
    sText = szBuffer;
    return true;
}

void RegistryDeleteValue(HKEY hRoot, const char* pszSubKey, const char* pszValue)
{
    TxRegKey key;
    if (RegOpenKeyExA(hRoot, pszSubKey, 0, KEY_WRITE, key.Receive()) == ERROR_SUCCESS)
        RegDeleteValueA(key.Get(), pszValue);
}

bool RegistryAddToList(HKEY hRoot, const char* pszSubKey, const char* pszValue, const char* pszText)
{
    if (pszText == nullptr || pszText[0] == 0)
        return false;
    TxRegKey key;
    if (RegCreateKeyExA(hRoot, pszSubKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, key.Receive(),
                        nullptr) != ERROR_SUCCESS)
        return false;
    DWORD dwType = 0;
    DWORD cbData = 0;
    std::vector<char> list;
    if (RegQueryValueExA(key.Get(), pszValue, nullptr, &dwType, nullptr, &cbData) ==
            ERROR_SUCCESS &&
        dwType == REG_MULTI_SZ)
    {
        list.assign(cbData + 2, 0);
        if (RegQueryValueExA(key.Get(), pszValue, nullptr, &dwType,
                             reinterpret_cast<BYTE*>(list.data()), &cbData) != ERROR_SUCCESS)
            list.clear();
    }
    // The texts of the list without its closing zero, each with its own.
    std::vector<char> texts;
    for (const char* p = list.data(); !list.empty() && *p != 0; p += lstrlenA(p) + 1)
    {
        if (lstrcmpiA(p, pszText) == 0)
            return true;
        texts.insert(texts.end(), p, p + lstrlenA(p) + 1);
    }
    texts.insert(texts.end(), pszText, pszText + lstrlenA(pszText) + 1);
    texts.push_back(0);
    return RegSetValueExA(key.Get(), pszValue, 0, REG_MULTI_SZ,
                          reinterpret_cast<const BYTE*>(texts.data()),
                          static_cast<DWORD>(texts.size())) == ERROR_SUCCESS;
}

bool AutorunExists(const char* pszValue)
{
    return RegistryValueExists(HKEY_LOCAL_MACHINE, REG_RUN_KEY, pszValue);
}

bool SetAutorun(const char* pszValue, const char* pszCommandLine)
{
    return RegistrySetString(HKEY_LOCAL_MACHINE, REG_RUN_KEY, pszValue, pszCommandLine);
}

void RemoveAutorun(const char* pszValue)
{
    RegistryDeleteValue(HKEY_LOCAL_MACHINE, REG_RUN_KEY, pszValue);
}

static TxString UninstallKey(const char* pszName)
{
    TxString sKey(REG_UNINSTALL_ROOT);
    sKey.Append(pszName);
    return sKey;
}

bool AddUninstallInfo(const UninstallInfo& info)
{
    if (info.sName.IsEmpty())
        return false;
    TxString sKey = UninstallKey(info.sName.GetText());
    if (!RegistryCreateKey(HKEY_LOCAL_MACHINE, sKey.GetText()))
        return false;
    RegistrySetString(HKEY_LOCAL_MACHINE, sKey.GetText(), "DisplayName",
                      info.sDisplayName.GetText());
    RegistrySetString(HKEY_LOCAL_MACHINE, sKey.GetText(), "DisplayIcon",
                      info.sDisplayIcon.GetText());
    RegistrySetString(HKEY_LOCAL_MACHINE, sKey.GetText(), "UninstallString",
                      info.sUninstallCommand.GetText());
    return true;
}

bool RemoveUninstallInfo(const char* pszName)
{
    // An empty name would name the uninstall root itself.
    if (pszName == nullptr || pszName[0] == 0)
        return false;
    return RegistryDeleteKey(HKEY_LOCAL_MACHINE, UninstallKey(pszName).GetText());
}
