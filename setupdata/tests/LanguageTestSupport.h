#pragma once

#include "LanguageCatalogue.h"
#include "TestSupport.h"

#include <string>

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
