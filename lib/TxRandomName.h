#pragma once

#include "TxString.h"

// pszPrefix, 16 hexadecimal digits from the system's cryptographic random
// source, then pszSuffix: a name no other process can foresee, for entries
// that must not be made or linked beforehand by someone else. Empty (logged)
// when the system gives no random bytes; nothing weaker stands in.
TxString TxRandomName(const char* pszPrefix, const char* pszSuffix = "");
