#pragma once

#include <string>

// Language sections written for translators, lines ended by CR LF as the
// setup's file has them, bytes in Windows-1252.

constexpr char PSEUDO_LANGUAGE_NAME[] = "Pseudo";
// Id 0 never equals a system language, so the setup never preselects the
// pseudo-translation; the catalogue lists it all the same.
constexpr char PSEUDO_LANGUAGE_ID[] = "LANG_NEUTRAL";

// A text as one line of the file: CR and LF written as the escapes "\r" and
// "\n".
std::string EscapeTextLine(const std::string& sText);

// The English text lengthened by 40 % with accented letters and a closing
// run of middle dots, between brackets: "Install to folder:" gives
// "[Ïñštåll tö ƒöldér:·····]". Printf conversions, "%%" and line breaks are
// kept as they are.
std::string PseudoText(const char* pszEnglish);

// A whole section named sName with the LANGID line sLangId, every key with
// its English text; bPseudo writes the pseudo-translated texts instead and a
// comment for translators is left out.
std::string LanguageSection(const std::string& sName, const std::string& sLangId, bool bPseudo);

// sFile with sSection put in before its END-OF-FILE line (the setup reads no
// languages past it), or at its end when it has none.
std::string InsertSection(const std::string& sFile, const std::string& sSection);
