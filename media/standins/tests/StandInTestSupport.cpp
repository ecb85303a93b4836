#include "StandInTestSupport.h"

#include "ProductNames.h"
#include "TxPaths.h"

void DeleteProductKey()
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, PRODUCT_REG_KEY);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, VENDOR_REG_KEY);
}

std::string BesideTest(const char* pszName)
{
    return TxJoinPath(TxProgramFolder().GetText(), pszName).GetText();
}
