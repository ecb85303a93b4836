#pragma once

#include "TxString.h"

// The library's fixed English error texts, set once at start-up.
enum TxErrorIndex
{
    TXERR_INTERNAL = 0,
    TXERR_COLLECTION_INDEX = 1,
    TXERR_COLLECTION_OVERFLOW = 2,
    TXERR_COLLECTION_MEMORY = 3,
    TXERR_FILE_READ = 4,
    TXERR_FILE_WRITE = 5,
    TXERR_FILE_SEEK = 6,
    TXERR_COUNT = 7
};

extern TxString g_TxErrorText[TXERR_COUNT];

// Sets g_TxErrorText exactly once, however many instances are made.
class TxLibInitializer
{
public:
    TxLibInitializer();
};

// Size of the buffer the texts with a file name are formatted into.
constexpr int TX_ERROR_TEXT_SIZE = 300;

// Formats error text iIndex with pszFileName into out, cut to
// TX_ERROR_TEXT_SIZE - 1 characters.
void FormatErrorText(int iIndex, const char* pszFileName, TxString& out);
