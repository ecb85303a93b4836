#pragma once

#include "TxString.h"

#include <initializer_list>

// One argument of TxFormat: a text or a whole number.
struct TxFormatArg
{
    TxFormatArg(const char* psz) : pszText(psz != nullptr ? psz : ""), llNumber(0), bText(true) {}
    TxFormatArg(const TxString& s) : pszText(s.GetText()), llNumber(0), bText(true) {}
    TxFormatArg(int i) : pszText(""), llNumber(i), bText(false) {}
    TxFormatArg(unsigned u) : pszText(""), llNumber(u), bText(false) {}
    TxFormatArg(long long ll) : pszText(""), llNumber(ll), bText(false) {}
    TxFormatArg(unsigned long long ull)
        : pszText(""), llNumber(static_cast<long long>(ull)), bText(false)
    {
    }

    const char* pszText;
    long long llNumber;
    bool bText;
};

// printf-style formatting for texts that come from a language file: the
// conversions %s, %d, %i, %u, %x and %% (with flags, width and precision)
// take the arguments in order, each converted to what the conversion asks
// for. A missing argument prints nothing and anything else stands as
// written, so a wrong translation can garble its own text but never read a
// stray argument or overrun a buffer.
TxString TxFormat(const char* pszFormat, std::initializer_list<TxFormatArg> args);
