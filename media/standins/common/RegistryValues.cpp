#include "RegistryValues.h"

#include "TxHandles.h"

#include <vector>

bool ReadRegistryString(HKEY hRoot, const char* pszKey, const char* pszValue, TxString& sText)
{
    TxRegKey key;
    if (RegOpenKeyExA(hRoot, pszKey, 0, KEY_QUERY_VALUE, key.Receive()) != ERROR_SUCCESS)
        return false;
    DWORD dwType = 0;
    DWORD cbData = 0;
    if (RegQueryValueExA(key.Get(), pszValue, nullptr, &dwType, nullptr, &cbData) != ERROR_SUCCESS)
        return false;
    if (dwType != REG_SZ && dwType != REG_EXPAND_SZ)
        return false;
    // One byte more than stored: a value written without its zero still ends.
    std::vector<char> buffer(cbData + 1, 0);
    if (RegQueryValueExA(key.Get(), pszValue, nullptr, &dwType,
                         reinterpret_cast<BYTE*>(buffer.data()), &cbData) != ERROR_SUCCESS)
        return false;
    if (cbData >= buffer.size())
        return false;
    buffer[cbData] = 0;
    sText = buffer.data();
    return true;
}

bool ReadRegistryStrings(HKEY hRoot, const char* pszKey, const char* pszValue,
                         std::vector<TxString>& texts)
{
    TxRegKey key;
    if (RegOpenKeyExA(hRoot, pszKey, 0, KEY_QUERY_VALUE, key.Receive()) != ERROR_SUCCESS)
        return false;
    DWORD dwType = 0;
    DWORD cbData = 0;
    if (RegQueryValueExA(key.Get(), pszValue, nullptr, &dwType, nullptr, &cbData) !=
            ERROR_SUCCESS ||
        dwType != REG_MULTI_SZ)
        return false;
    // Two zero bytes more than stored: a list written without its ends still ends.
    std::vector<char> buffer(cbData + 2, 0);
    if (RegQueryValueExA(key.Get(), pszValue, nullptr, &dwType,
                         reinterpret_cast<BYTE*>(buffer.data()), &cbData) != ERROR_SUCCESS ||
        cbData > buffer.size() - 2)
        return false;
    for (const char* p = buffer.data(); *p != 0; p += lstrlenA(p) + 1)
        texts.push_back(TxString(p));
    return true;
}

bool ReadRegistryDword(HKEY hRoot, const char* pszKey, const char* pszValue, DWORD& dwValue)
{
    TxRegKey key;
    if (RegOpenKeyExA(hRoot, pszKey, 0, KEY_QUERY_VALUE, key.Receive()) != ERROR_SUCCESS)
        return false;
    DWORD dwType = 0;
    DWORD dwData = 0;
    DWORD cbData = sizeof(dwData);
    if (RegQueryValueExA(key.Get(), pszValue, nullptr, &dwType, reinterpret_cast<BYTE*>(&dwData),
                         &cbData) != ERROR_SUCCESS)
        return false;
    if (dwType != REG_DWORD || cbData != sizeof(dwData))
        return false;
    dwValue = dwData;
    return true;
}
