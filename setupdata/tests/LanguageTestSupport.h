#pragma once

#include "LanguageCatalogue.h"

#include <algorithm>
#include <string>

// The build passes the source folder as a Linux path; Wine maps the Linux
// root to drive Z:.
inline std::string SourcePath(const std::string& relative)
{
    std::string path = std::string("Z:") + QV_SOURCE_DIR + "/" + relative;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
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
