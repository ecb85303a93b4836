#pragma once

#include "TxString.h"

#include <cstddef>

// Random bytes that another user cannot guess, for names of the setup's own
// entries in folders others may see. They come from the system's generator
// (RtlGenRandom, advapi32's SystemFunction036, Windows XP and later, looked up
// at run time); where it is missing, from the performance counter, the times
// and the process's ids and addresses mixed together, which is weaker but
// never the process id alone.
void TxRandomBytes(void* pBuffer, size_t cb);

// cDigits random lower-case hexadecimal digits.
TxString TxRandomHex(int cDigits);
