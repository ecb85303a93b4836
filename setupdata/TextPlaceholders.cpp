#include "TextPlaceholders.h"

#include "LanguageFileRules.h"

#include <windows.h>

namespace
{
bool IsLeadByte(unsigned char ch, void* pContext)
{
    return IsDBCSLeadByteEx(*static_cast<UINT*>(pContext), ch) != FALSE;
}
} // namespace

bool SamePlaceholders(const char* pszText, const char* pszTemplate, unsigned uCodePage)
{
    UINT uPage = uCodePage;
    return SameFormatConversions(pszText, pszTemplate) &&
           SameFormatConversions(pszText, pszTemplate, IsLeadByte, &uPage);
}
