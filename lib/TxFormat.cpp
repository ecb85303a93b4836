#include "TxFormat.h"

#include "TxPrint.h"

#include <cstring>
#include <vector>

namespace
{
constexpr size_t kMaxSpec = 16;
constexpr int kMaxWidth = 256;

// A byte buffer rather than std::string: the string's out-of-line members
// would add tens of KiB to Setup.exe.
using Buffer = std::vector<char>;

void Put(Buffer& out, const char* pszText, size_t cb)
{
    out.insert(out.end(), pszText, pszText + cb);
}

// Reads "%[flags][width][.precision]conv" at p; returns its length, or 0 when
// it is not a conversion this formatter takes.
size_t ParseSpec(const char* p, char& chConv)
{
    size_t i = 1;
    while (p[i] != 0 && std::strchr("-+ 0#", p[i]) != nullptr)
        ++i;
    int iWidth = 0;
    while (p[i] >= '0' && p[i] <= '9')
        iWidth = iWidth * 10 + (p[i++] - '0');
    int iPrecision = 0;
    if (p[i] == '.')
    {
        ++i;
        while (p[i] >= '0' && p[i] <= '9')
            iPrecision = iPrecision * 10 + (p[i++] - '0');
    }
    chConv = p[i];
    if (chConv == 0 || std::strchr("sdiux", chConv) == nullptr)
        return 0;
    if (i + 1 >= kMaxSpec || iWidth > kMaxWidth || iPrecision > kMaxWidth)
        return 0;
    return i + 1;
}

void AppendConversion(Buffer& out, const char* pSpec, size_t cbSpec, char chConv,
                      const TxFormatArg* pArg)
{
    if (pArg == nullptr)
        return;
    char szSpec[kMaxSpec + 4];
    std::memcpy(szSpec, pSpec, cbSpec - 1);
    char szBuffer[2 * kMaxWidth + 32];
    if (chConv == 's')
    {
        szSpec[cbSpec - 1] = 's';
        szSpec[cbSpec] = 0;
        const char* pszText = pArg->bText ? pArg->pszText : "";
        char szNumber[32];
        if (!pArg->bText)
        {
            TxPrint(szNumber, sizeof(szNumber), "%I64d", pArg->llNumber);
            pszText = szNumber;
        }
        // Width and precision only pad or cut; the text itself is unbounded.
        int n = TxPrint(nullptr, 0, szSpec, pszText);
        if (n > 0)
        {
            Buffer piece(static_cast<size_t>(n) + 1, '\0');
            TxPrint(piece.data(), piece.size(), szSpec, pszText);
            Put(out, piece.data(), static_cast<size_t>(n));
        }
        return;
    }
    std::memcpy(szSpec + cbSpec - 1, "I64", 3);
    szSpec[cbSpec + 2] = chConv == 'i' ? 'd' : chConv;
    szSpec[cbSpec + 3] = 0;
    long long llValue = pArg->bText ? 0 : pArg->llNumber;
    TxPrint(szBuffer, sizeof(szBuffer), szSpec, llValue);
    Put(out, szBuffer, std::strlen(szBuffer));
}
} // namespace

TxString TxFormat(const char* pszFormat, std::initializer_list<TxFormatArg> args)
{
    Buffer out;
    const TxFormatArg* pNext = args.begin();
    for (const char* p = pszFormat != nullptr ? pszFormat : ""; *p != 0;)
    {
        if (*p != '%')
        {
            out.push_back(*p++);
            continue;
        }
        if (p[1] == '%')
        {
            out.push_back('%');
            p += 2;
            continue;
        }
        char chConv = 0;
        size_t cbSpec = ParseSpec(p, chConv);
        if (cbSpec == 0)
        {
            out.push_back(*p++);
            continue;
        }
        const TxFormatArg* pArg = pNext != args.end() ? pNext++ : nullptr;
        AppendConversion(out, p, cbSpec, chConv, pArg);
        p += cbSpec;
    }
    out.push_back(0);
    return TxString(out.data());
}
