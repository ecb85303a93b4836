#pragma once

#include <string>
#include <vector>

// One thing the setup would read differently from what the translator meant.
struct CLanguageFinding
{
    int iLine;             // 1-based, as the setup's line reader counts lines
    std::string sLanguage; // the section's name, or "(no language)" outside sections
    std::string sMessage;
};

// Reads the bytes of a language file as the setup does and lists its faults
// in line order. Returns the number of sections found.
int CheckLanguageFile(const std::string& sFile, std::vector<CLanguageFinding>& findings);
