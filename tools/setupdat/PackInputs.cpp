#include "PackInputs.h"

#include "EntryName.h"
#include "ToolError.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace
{
constexpr std::uint64_t MAX_STORED_SIZE = 0xFFFFFFFFull;

bool IsArchive(const fs::path& path, const fs::path& archivePath)
{
    std::error_code ec;
    return fs::equivalent(path, archivePath, ec);
}

PackInput MakeInput(const fs::path& path)
{
    PackInput input;
    input.source = path;
    input.sName = path.filename().u8string();
    std::string sReason = CheckEntryName(input.sName);
    if (!sReason.empty())
        throw ToolError(DisplayPath(path) + ": " + sReason);
    std::string sError;
    if (!ReadFileStamp(path, input.stamp, sError))
        throw ToolError(DisplayPath(path) + ": " + sError);
    if (input.stamp.qwSize > MAX_STORED_SIZE)
        throw ToolError(DisplayPath(path) + ": files of 4 GiB or more cannot be stored");
    return input;
}

void CollectFolder(const fs::path& folder, const fs::path& archivePath,
                   std::vector<PackInput>& inputs)
{
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
    {
        if (entry.is_regular_file() && !IsArchive(entry.path(), archivePath))
            inputs.push_back(MakeInput(entry.path()));
    }
}

void CollectArgument(const std::string& sArg, const fs::path& archivePath,
                     std::vector<PackInput>& inputs)
{
    fs::path path(sArg);
    std::error_code ec;
    fs::file_status status = fs::status(path, ec);
    if (fs::is_directory(status))
        CollectFolder(path, archivePath, inputs);
    else if (!fs::is_regular_file(status))
        throw ToolError(sArg + ": no such file or folder");
    else if (IsArchive(path, archivePath))
        throw ToolError(sArg + ": is the archive being written");
    else
        inputs.push_back(MakeInput(path));
}

void SortAndCheckDuplicates(std::vector<PackInput>& inputs)
{
    std::sort(inputs.begin(), inputs.end(),
              [](const PackInput& a, const PackInput& b)
              { return EntryNameKey(a.sName) < EntryNameKey(b.sName); });
    for (std::size_t i = 1; i < inputs.size(); ++i)
    {
        if (EqualIgnoreCase(inputs[i - 1].sName, inputs[i].sName))
            throw ToolError(DisplayPath(inputs[i - 1].source) + " and " +
                            DisplayPath(inputs[i].source) +
                            ": names differ only in letter case (or not at all); the setup "
                            "would find only one of them");
    }
}
} // namespace

std::string DisplayPath(const fs::path& path)
{
    return path.u8string();
}

std::vector<PackInput> CollectPackInputs(const std::vector<std::string>& args,
                                         const fs::path& archivePath)
{
    std::vector<PackInput> inputs;
    for (const std::string& sArg : args)
        CollectArgument(sArg, archivePath, inputs);
    SortAndCheckDuplicates(inputs);
    return inputs;
}
