#include "StandInTestSupport.h"

#include "ProductKeys.h"
#include "TxHandles.h"
#include "TxPaths.h"

#include <cstring>

bool SetRegString(const char* pszKey, const char* pszValue, const char* pszText)
{
    TxRegKey key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, pszKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                        nullptr, key.Receive(), nullptr) != ERROR_SUCCESS)
        return false;
    return RegSetValueExA(key.Get(), pszValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(pszText),
                          static_cast<DWORD>(std::strlen(pszText) + 1)) == ERROR_SUCCESS;
}

bool RegValueExists(const char* pszKey, const char* pszValue)
{
    TxRegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, pszKey, 0, KEY_QUERY_VALUE, key.Receive()) !=
        ERROR_SUCCESS)
        return false;
    return RegQueryValueExA(key.Get(), pszValue, nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

bool RegKeyExists(const char* pszKey)
{
    TxRegKey key;
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, pszKey, 0, KEY_QUERY_VALUE, key.Receive()) ==
           ERROR_SUCCESS;
}

void DeleteProductKey()
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, PRODUCT_KEY);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Kestov");
}

std::string BesideTest(const char* pszName)
{
    return TxJoinPath(TxProgramFolder().GetText(), pszName).GetText();
}
