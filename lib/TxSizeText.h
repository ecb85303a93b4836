#pragma once

#include "TxString.h"

// Human-readable size in powers of 1,024 ("1023 B", "1.50 kB", "5120 GB")
// with the user's decimal separator. A null out does nothing.
void FormatSize(long long qwBytes, TxString* pOut);
