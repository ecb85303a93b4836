#pragma once

#include "TxString.h"

// pszPrefix followed by 16 hexadecimal digits from the system's
// cryptographic random source: a name no other process can foresee, for
// folders that must not be made or linked beforehand by someone else. Empty
// (logged) when the system gives no random bytes.
TxString TxRandomName(const char* pszPrefix);
