#include "TxErrorText.h"

#include "TxPrint.h"

TxLibInitializer::TxLibInitializer()
{
    static bool s_bDone = false;
    if (s_bDone)
        return;
    s_bDone = true;
    g_TxErrorText[TXERR_INTERNAL] =
        "Internal exception occured. Please read the Troubleshooting chapter in Help.";
    g_TxErrorText[TXERR_COLLECTION_INDEX] = "Collection index out of range.";
    g_TxErrorText[TXERR_COLLECTION_OVERFLOW] = "Collection size overflow.";
    g_TxErrorText[TXERR_COLLECTION_MEMORY] = "Not enough memory for collection.";
    g_TxErrorText[TXERR_FILE_READ] = "Error reading file %s.";
    g_TxErrorText[TXERR_FILE_WRITE] = "Error writing to file %s.";
    g_TxErrorText[TXERR_FILE_SEEK] = "Error seeking in file %s.";
}

void FormatErrorText(int iIndex, const char* pszFileName, TxString& out)
{
    if (iIndex < 0 || iIndex >= TXERR_COUNT)
        iIndex = TXERR_INTERNAL;
    const TxString& sText = g_TxErrorText[iIndex];
    if (sText.Find("%s", false, false, 1) == 0)
    {
        out = sText;
        return;
    }
    // Only the file name is substituted; a '%' in the name stays literal.
    char szText[TX_ERROR_TEXT_SIZE];
    TxPrint(szText, sizeof(szText), sText.GetText(), pszFileName != nullptr ? pszFileName : "");
    out = szText;
}
