#pragma once

#include <string>

// A valid language file of three sections that use real keys, texts with
// placeholders and escapes.
std::string ValidLanguageFile();

// Damaged variant i of sValid (the same seed and i give the same bytes):
// binary junk, keywords inside texts, missing end lines, lines of 70,000
// characters, escapes and lone backslashes at line ends, changed
// placeholders, other line ends, cuts, many sections, and several at once.
std::string MutateLanguageFile(const std::string& sValid, long iVariant, unsigned uSeed);
