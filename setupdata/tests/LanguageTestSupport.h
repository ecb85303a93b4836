#pragma once

#include "LanguageCatalogue.h"
#include "TestSupport.h"

#include <regex>
#include <string>
#include <vector>

// The build passes the source folder as a Linux path.
inline std::string SourcePath(const std::string& relative)
{
    return WinePath(std::string(QV_SOURCE_DIR) + "/" + relative);
}

inline std::string TestDataPath(const std::string& name)
{
    return SourcePath("setupdata/tests/data/" + name);
}

// The language list the welcome step would offer.
struct LoadedLanguages
{
    explicit LoadedLanguages(const std::string& path)
    {
        LoadLanguages(list, sDefaultName, path.c_str());
    }

    const COneLanguage& At(int i) const { return *static_cast<COneLanguage*>(list.At(i)); }

    TxCollection list{32, 64};
    TxString sDefaultName;
};

// The printf conversions of a text in order ("%s", "%-5.2ld"), "%%" left
// out. Written apart from the setup's own check so that the two cannot share
// a mistake.
inline std::vector<std::string> PrintfConversions(const std::string& sText)
{
    static const std::regex conversion("%(%|[-+ #0]*[0-9*]*(\\.[0-9*]*)?[hlL]*[a-zA-Z]?)");
    std::vector<std::string> found;
    for (std::sregex_iterator it(sText.begin(), sText.end(), conversion), end; it != end; ++it)
    {
        if (it->str() != "%%")
            found.push_back(it->str());
    }
    return found;
}
