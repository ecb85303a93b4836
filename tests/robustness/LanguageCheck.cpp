#include "LanguageCheck.h"

#include "EngineTestSupport.h"
#include "LanguageCatalogue.h"
#include "ProductNames.h"
#include "StringTables.h"
#include "TxFormat.h"
#include "TxHandles.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace
{
const int MAX_SWITCHES = 40;

bool Complain(const char* pszWhat, const char* pszDetail)
{
    std::fprintf(stderr, "language: %s: %s\n", pszWhat, pszDetail);
    return false;
}

// One conversion as a printf-style reader (msvcrt's printf, wsprintf) takes
// it: flags, width and precision (-1 none, -2 "*", which reads an argument),
// length modifier and conversion letter.
struct Conversion
{
    long lWidth;
    long lPrecision;
    std::string sLength;
    char chConv;
};

long Number(const char*& p)
{
    if (*p == '*')
    {
        ++p;
        return -2;
    }
    if (*p < '0' || *p > '9')
        return -1;
    long n = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        n = n < 100000000 ? n * 10 + (*p - '0') : n;
    return n;
}

// The conversions of a format in order. With bLeadBytes a lead byte of the
// system's double-byte code page takes the byte after it along, as a reader
// that knows the code page does; without, every byte stands alone.
std::vector<Conversion> Conversions(const char* p, bool bLeadBytes)
{
    std::vector<Conversion> list;
    while (*p != 0)
    {
        if (bLeadBytes && IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1] != 0)
        {
            p += 2;
            continue;
        }
        if (*p++ != '%')
            continue;
        if (*p == '%')
        {
            ++p;
            continue;
        }
        p += std::strspn(p, "-+ #0");
        Conversion c;
        c.lWidth = Number(p);
        c.lPrecision = -1;
        if (*p == '.')
        {
            ++p;
            c.lPrecision = Number(p);
            if (c.lPrecision == -1)
                c.lPrecision = 0;
        }
        const char* pLength = p;
        p += std::strspn(p, "hlLIwjztq0123456789");
        c.sLength.assign(pLength, p);
        // A '%' at the very end reads nothing.
        c.chConv = *p;
        if (*p == 0)
            break;
        ++p;
        list.push_back(c);
    }
    return list;
}

// Conversions that read the same argument type.
bool SameArgument(const Conversion& a, const Conversion& b)
{
    const char* pszInts = "diouxX";
    bool bIntA = a.chConv != 0 && std::strchr(pszInts, a.chConv) != nullptr;
    bool bIntB = b.chConv != 0 && std::strchr(pszInts, b.chConv) != nullptr;
    return a.sLength == b.sLength && (a.chConv == b.chConv || (bIntA && bIntB));
}

// Whether a text is harmless where its English text is the format: no %n,
// no argument read that the English text does not read (in order, of the
// same type, no "*" of its own), no width or precision beyond the English one.
const char* FormatHarm(const char* pszText, const char* pszEnglish, bool bLeadBytes)
{
    std::vector<Conversion> text = Conversions(pszText, bLeadBytes);
    std::vector<Conversion> english = Conversions(pszEnglish, false);
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        const Conversion& t = text[i];
        if (t.chConv == 'n')
            return "writes through %n";
        if (i >= english.size() || !SameArgument(t, english[i]))
            return "reads an argument the English text does not pass";
        const Conversion& e = english[i];
        if ((t.lWidth == -2) != (e.lWidth == -2) || (t.lPrecision == -2) != (e.lPrecision == -2))
            return "reads a width or precision argument of its own";
        if (t.lWidth > (e.lWidth < 0 ? 0 : e.lWidth))
            return "width beyond the English one";
        if (t.lPrecision >= 0 && (e.lPrecision < 0 || t.lPrecision > e.lPrecision))
            return "precision beyond the English one";
    }
    return nullptr;
}

// Every text must be shown (not empty) and be harmless as a format for both
// readings of its bytes.
bool TextsSound()
{
    for (const CTextKey& key : g_TextKeys)
    {
        if (key.pText->IsEmpty())
            return Complain("empty text", key.pszKey);
        for (bool bLeadBytes : {false, true})
        {
            const char* pszHarm = FormatHarm(key.pText->GetText(), key.pszEnglish, bLeadBytes);
            if (pszHarm != nullptr)
            {
                std::fprintf(stderr, "language: %s: %s: %s\n", key.pszKey, pszHarm,
                             key.pText->GetText());
                return false;
            }
        }
        TxFormat(key.pText->GetText(), {"C:\\x", 42, "y"});
    }
    return true;
}

bool UnknownNameChangesNothing()
{
    TxString sBefore(g_sLanguage);
    WORD wBefore = g_LangId;
    // Section names are trimmed, so no section can carry these.
    SwitchLanguage(TxString(" No such language "), 7);
    SwitchLanguage(TxString("\t"), 0);
    return (g_sLanguage.Compare(sBefore) == 0 && g_LangId == wBefore) ||
           Complain("unknown name switched", sBefore.GetText());
}

bool RegistryText(HKEY hKey, const char* pszName, const TxString& sExpected)
{
    RegValue value;
    if (!ReadRegValue(hKey, pszName, value) || value.dwType != REG_SZ)
        return Complain("registry value missing", pszName);
    return sExpected.Compare(value.sData.c_str()) == 0 ||
           Complain("registry value differs", pszName);
}

bool RegistryMatches()
{
    TxRegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, LANGUAGE_REG_KEY, 0, KEY_READ, key.Receive()) !=
        ERROR_SUCCESS)
        return Complain("registry key missing", LANGUAGE_REG_KEY);
    bool bOk = RegistryText(key.Get(), "Language", g_sLanguage) &&
               RegistryText(key.Get(), "LangEName", g_sLangEName);
    RegValue id;
    if (!ReadRegValue(key.Get(), "LangId", id) || id.sData != RegValue::Dword(g_LangId).sData ||
        id.dwType != REG_DWORD)
        bOk = Complain("registry value differs", "LangId");
    for (const CTextKey& k : g_TextKeys)
    {
        if (std::string(k.pszKey).compare(0, 4, "gls_") != 0)
            bOk = RegistryText(key.Get(), k.pszKey, *k.pText) && bOk;
    }
    return bOk;
}
} // namespace

CLanguageCheck::CLanguageCheck(const std::string& sFolder) : m_sPath(sFolder + "\\SetupLang.dat") {}

CLanguageCheck::~CLanguageCheck()
{
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, LANGUAGE_REG_KEY);
}

bool CLanguageCheck::Check(const std::string& sFile, bool bReadBack)
{
    WriteWholeFile(m_sPath, sFile);
    SetDefaultTexts();
    TxCollection list(32, 64);
    TxString sDefault;
    LoadLanguages(list, sDefault, m_sPath.c_str());
    if (list.GetCount() < 1)
        return Complain("no language listed", "");
    bool bOk = TextsSound();
    for (int i = 0; i < list.GetCount() && i < MAX_SWITCHES && bOk; ++i)
    {
        const COneLanguage& lang = *static_cast<COneLanguage*>(list.At(i));
        SwitchLanguage(lang.sLanguage, lang.LangId);
        bOk = TextsSound() && UnknownNameChangesNothing();
    }
    ExportLanguageToRegistry();
    ExportUninstallTextsToRegistry();
    if (bOk && bReadBack)
        bOk = RegistryMatches();
    return bOk;
}
