#pragma once

#include <string>

// Loads one language file image, switches to every language it lists (and
// to names it does not list) and exports the texts to the registry. Returns
// false when a text ends up empty or with other placeholders than its
// English text, when a switch to an unknown name changes the language, or
// (every eighth variant, to keep the run short) when the registry holds
// other texts than the variables.
class CLanguageCheck
{
public:
    explicit CLanguageCheck(const std::string& sFolder);
    ~CLanguageCheck();
    CLanguageCheck(const CLanguageCheck&) = delete;
    CLanguageCheck& operator=(const CLanguageCheck&) = delete;

    bool Check(const std::string& sFile, bool bReadBack);

private:
    std::string m_sPath;
};
