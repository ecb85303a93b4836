#pragma once

#include <cstddef>
#include <vector>

// How the setup reads the lines of its language file. Plain C++ without the
// Windows headers, so that the translators' checker on Linux applies the very
// rules the setup's catalogue applies.

constexpr char LANG_KEYWORD_BEGIN[] = "BEGIN-LANGUAGE";
constexpr int LANG_KEYWORD_BEGIN_LENGTH = 14;
constexpr char LANG_KEYWORD_END[] = "END-LANGUAGE";
constexpr char LANG_KEYWORD_END_OF_FILE[] = "END-OF-FILE";
constexpr char LANG_KEYWORD_LANGID[] = "LANGID";
constexpr int LANG_KEYWORD_LANGID_LENGTH = 6;
// "gl", the family letter, "_".
constexpr int LANG_KEY_PREFIX_LENGTH = 4;

// Codes 1 to 32 (blanks and control characters) are trimmed from lines.
inline bool IsLangTrimChar(char ch)
{
    unsigned char uch = static_cast<unsigned char>(ch);
    return uch >= 1 && uch <= 32;
}

// Position of pszKeyword in pszText, ASCII letter case ignored; -1 if absent.
// The keywords are plain ASCII, so the code page's other letters never match.
int FindLangKeyword(const char* pszText, const char* pszKeyword);
inline bool ContainsLangKeyword(const char* pszText, const char* pszKeyword)
{
    return FindLangKeyword(pszText, pszKeyword) >= 0;
}
// pszText (already trimmed) opens with pszKeyword, letter case ignored.
bool StartsWithLangKeyword(const char* pszText, const char* pszKeyword);

// A line that starts like a key ("gl", any character, "_", letter case
// ignored) ends the text before it, whether or not it names a known key.
bool IsLangKeyLine(const char* pszTrimmed);

// Inside a section, empty lines and lines opening with "//" are dropped.
bool IsLangCommentLine(const char* pszTrimmed);

// The value of a LANGID line: the line without its first "LANGID", trimmed,
// one leading "=" removed and trimmed again ("langid = LANG_GERMAN" gives
// "LANG_GERMAN"). Appends the value to value, without a terminating zero.
void LangIdLineValue(const char* pszLine, std::vector<char>& value);

// Replaces the escapes "\r" and "\n" (either letter case) by CR and LF, left
// to right; no other escapes exist.
std::vector<char> ApplyLangEscapes(const std::vector<char>& text);

// Tells whether the byte at p opens a two-byte character of the reader's code
// page (the byte after it then belongs to it); null for a one-byte reading.
using LeadBytePredicate = bool (*)(unsigned char ch, void* pContext);

// The next printf conversion at or after p ("%%" is a literal and skipped):
// p is left at its '%', pEnd past its flags, width, precision, length and
// conversion letter. False at the end of the text.
bool NextFormatConversion(const char*& p, const char*& pEnd, LeadBytePredicate pLeadByte = nullptr,
                          void* pContext = nullptr);

// Both format texts hold the same conversions in the same order under the
// given reading of their bytes.
bool SameFormatConversions(const char* pszText, const char* pszTemplate,
                           LeadBytePredicate pLeadByte = nullptr, void* pContext = nullptr);
