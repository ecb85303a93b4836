// The Linux build has no Windows library. The string tables' source is built
// as it is for the English texts and keys; of the text class it needs only
// what its variables' construction, assignment and destruction use.
#include "TxString.h"

#include <cstdlib>
#include <cstring>

TxString::TxString() : m_pText(nullptr), m_iLength(0) {}

TxString::~TxString()
{
    std::free(m_pText);
}

void TxString::Assign(const char* pszText)
{
    size_t cch = pszText != nullptr ? std::strlen(pszText) : 0;
    char* pCopy = static_cast<char*>(std::malloc(cch + 1));
    if (pCopy == nullptr)
        return;
    std::memcpy(pCopy, pszText != nullptr ? pszText : "", cch);
    pCopy[cch] = 0;
    std::free(m_pText);
    m_pText = pCopy;
    m_iLength = static_cast<int>(cch);
}
