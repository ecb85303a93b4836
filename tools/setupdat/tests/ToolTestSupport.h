#pragma once

#include "Commands.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

// A folder of the test's own below the temp folder, removed with its content.
class TempDir
{
public:
    TempDir()
    {
        std::random_device random;
        do
            m_Path = fs::temp_directory_path() / ("setupdat_test_" + std::to_string(random()));
        while (!fs::create_directory(m_Path));
    }
    ~TempDir()
    {
        std::error_code ec;
        fs::permissions(m_Path, fs::perms::owner_all, fs::perm_options::add, ec);
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(m_Path, ec))
            fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ec);
        fs::remove_all(m_Path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const fs::path& Path() const { return m_Path; }
    std::string operator/(const std::string& sRelative) const
    {
        return (m_Path / sRelative).string();
    }

private:
    fs::path m_Path;
};

inline void WriteBytes(const fs::path& path, const std::string& sData)
{
    fs::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(sData.data(), static_cast<std::streamsize>(sData.size()));
}

inline std::string ReadBytes(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream data;
    data << file.rdbuf();
    return data.str();
}

// Runs the tool's command line in-process.
struct ToolRun
{
    int iExit;
    std::string sOut;
    std::string sErr;
};

inline ToolRun RunTool(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    int iExit = RunSetupDat(args, out, err);
    return ToolRun{iExit, out.str(), err.str()};
}
