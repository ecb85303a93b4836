#include "EntryName.h"

#include "ToolError.h"

#include <cstring>
#ifdef _WIN32
#include <windows.h>
#endif

namespace
{
bool IsPlainAscii(const std::string& sName)
{
    for (char ch : sName)
    {
        unsigned char uch = static_cast<unsigned char>(ch);
        if (uch < 0x20 || uch > 0x7E)
            return false;
    }
    return true;
}
} // namespace

std::string EntryName(const PackageFile& entry)
{
    return std::string(entry.Name, SetupDatFieldLength(entry.Name, sizeof(entry.Name)));
}

std::string LookupName(const std::string& sName)
{
    std::string::size_type iSep = sName.rfind('\\');
    if (iSep == std::string::npos)
        iSep = sName.rfind('/');
    return iSep == std::string::npos ? sName : sName.substr(iSep + 1);
}

std::string EntryNameKey(const std::string& sName)
{
    std::string sKey(sName);
    for (char& ch : sKey)
    {
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    }
    return sKey;
}

bool EqualIgnoreCase(const std::string& a, const std::string& b)
{
    return EntryNameKey(a) == EntryNameKey(b);
}

bool SameNameForSetup(const std::string& a, const std::string& b)
{
    if (IsPlainAscii(a) && IsPlainAscii(b))
        return EqualIgnoreCase(a, b);
#ifdef _WIN32
    // Ignorable characters and expansions ("\xDF" = "ss") make names of
    // other lengths equal: only the system's comparison knows them.
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
           CSTR_EQUAL;
#else
    throw ToolError("\"" + a + "\" and \"" + b +
                    "\": the setup compares names outside printable ASCII in the Windows "
                    "locale; use the Windows build of the tool to tell which entry it takes");
#endif
}

std::string CheckEntryName(const std::string& sName)
{
    if (sName.empty())
        return "empty name";
    // One byte of the field is kept for the terminating zero.
    if (sName.size() >= SETUPDAT_NAME_SIZE)
        return "name longer than " + std::to_string(SETUPDAT_NAME_SIZE - 1) +
               " characters does not fit the archive's name field";
    for (char ch : sName)
    {
        unsigned char uch = static_cast<unsigned char>(ch);
        // Non-ASCII bytes would be read in whatever ANSI code page the setup
        // runs under and no longer match the name looked up.
        if (uch < 0x20 || uch > 0x7E)
            return "name has a character outside printable ASCII";
        if (std::strchr("\\/:*?\"<>|", ch) != nullptr)
            return std::string("name has a character not allowed in Windows file names: ") + ch;
    }
    return std::string();
}
