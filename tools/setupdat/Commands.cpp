#include "Commands.h"

#include "ArchiveReader.h"
#include "ArchiveVerify.h"
#include "ArchiveWriter.h"
#include "EntryName.h"
#include "FileTime.h"
#include "PackInputs.h"
#include "SetupSeal.h"
#include "ToolError.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace fs = std::filesystem;

namespace
{
const char USAGE[] =
    "Usage:\n"
    "  setupdat pack -o ARCHIVE FILE|FOLDER...\n"
    "      Writes a setup archive holding the files given and every file below the\n"
    "      folders given. Each file is stored under its bare file name (the setup\n"
    "      looks entries up by file name only), in name order with letter case\n"
    "      ignored, with its attributes, three file times and size. Names that\n"
    "      differ only in letter case, names longer than 95 characters or outside\n"
    "      printable ASCII, and files of 4 GiB or more are refused. With\n"
    "      SOURCE_DATE_EPOCH set (seconds since 1970 UTC), every entry gets that\n"
    "      moment as its three times, so that the same files give the same archive.\n"
    "  setupdat list ARCHIVE\n"
    "      Shows the header's file count and one line per entry: name, size,\n"
    "      attributes and the creation, last-access and last-write times.\n"
    "  setupdat extract ARCHIVE NAME [-o PATH]\n"
    "      Writes the entry the setup would find for NAME to PATH (default: the\n"
    "      entry's name in the current folder) and gives it the entry's times.\n"
    "  setupdat verify ARCHIVE [--plan] [--setup SETUP_EXE]\n"
    "      Checks the signature, the table's bounds and that every data block lies\n"
    "      inside the file; with --plan also that the setup's 30 install-plan files\n"
    "      are present; with --setup that SETUP_EXE is sealed with this archive.\n"
    "      Stops at the first fault and names it.\n"
    "  setupdat seal SETUP_EXE ARCHIVE\n"
    "      Writes the archive's SHA-256 into the setup program, which then installs\n"
    "      from no other archive, and sets the program's PE checksum. Before\n"
    "      signing: a signed program is refused.\n"
    "  setupdat --help\n"
    "Exit codes: 0 success, 1 failure or fault found, 2 wrong command line.\n";

// Takes "-o VALUE" out of args; empty if absent.
std::string TakeOutputOption(std::vector<std::string>& args)
{
    std::string sValue;
    for (std::size_t i = 0; i < args.size();)
    {
        if (args[i] != "-o")
        {
            ++i;
            continue;
        }
        if (i + 1 >= args.size() || !sValue.empty())
            throw UsageError("-o needs one path");
        sValue = args[i + 1];
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                   args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    }
    return sValue;
}

void RejectOptions(const std::vector<std::string>& args)
{
    for (const std::string& sArg : args)
    {
        if (sArg.size() > 1 && sArg[0] == '-')
            throw UsageError("unknown option: " + sArg);
    }
}

// Reproducible archives: the entries' times come from the sources' date, not
// from when the files were checked out or built.
void ApplySourceDateEpoch(std::vector<PackInput>& inputs)
{
    const char* pszEpoch = std::getenv("SOURCE_DATE_EPOCH");
    if (pszEpoch == nullptr || *pszEpoch == 0)
        return;
    std::string sEpoch(pszEpoch);
    if (sEpoch.size() > 12 || sEpoch.find_first_not_of("0123456789") != std::string::npos)
        throw ToolError("SOURCE_DATE_EPOCH is not a number of seconds: " + sEpoch);
    SetupDatFileTime ft = FileTimeFromUnix(std::stoll(sEpoch), 0);
    for (PackInput& input : inputs)
        input.stamp.ftCreation = input.stamp.ftLastAccess = input.stamp.ftLastWrite = ft;
}

int Pack(std::vector<std::string> args, std::ostream& out)
{
    std::string sArchive = TakeOutputOption(args);
    RejectOptions(args);
    if (sArchive.empty() || args.empty())
        throw UsageError("pack needs -o ARCHIVE and at least one FILE or FOLDER");
    std::vector<PackInput> inputs = CollectPackInputs(args, fs::path(sArchive));
    ApplySourceDateEpoch(inputs);
    WriteArchive(fs::path(sArchive), inputs);
    out << "Packed " << inputs.size() << " files into " << sArchive << "\n";
    return SETUPDAT_EXIT_OK;
}

std::string FormatEntry(const PackageFile& entry)
{
    char szSizeAndAttributes[64];
    std::uint64_t qwSize = (static_cast<std::uint64_t>(entry.SizeHigh) << 32) | entry.SizeLow;
    std::snprintf(szSizeAndAttributes, sizeof(szSizeAndAttributes), "%12llu  0x%08X",
                  static_cast<unsigned long long>(qwSize), static_cast<unsigned>(entry.Attributes));
    std::string sName = EntryName(entry);
    if (sName.size() < 24)
        sName.resize(24, ' ');
    return sName + " " + szSizeAndAttributes + "  created " + FormatFileTime(entry.CreationTime) +
           "  accessed " + FormatFileTime(entry.LastAccessTime) + "  written " +
           FormatFileTime(entry.LastWriteTime);
}

int List(const std::vector<std::string>& args, std::ostream& out)
{
    RejectOptions(args);
    if (args.size() != 1)
        throw UsageError("list needs exactly one ARCHIVE");
    ArchiveReader archive{fs::path(args[0])};
    out << args[0] << ": FileCount " << archive.Header().FileCount << "\n";
    for (const PackageFile& entry : archive.Entries())
        out << FormatEntry(entry) << "\n";
    return SETUPDAT_EXIT_OK;
}

void WriteEntry(ArchiveReader& archive, const PackageFile& entry, const fs::path& target)
{
    std::ofstream file(target, std::ios::binary | std::ios::trunc);
    if (!file)
        throw ToolError(DisplayPath(target) + ": cannot create");
    try
    {
        archive.CopyData(entry, file);
        file.close();
        if (!file)
            throw ToolError(DisplayPath(target) + ": write error");
    }
    catch (...)
    {
        // A shortened file must not pass for the stored one.
        file.close();
        std::error_code ec;
        fs::remove(target, ec);
        throw;
    }
}

int Extract(std::vector<std::string> args, std::ostream& out)
{
    std::string sTarget = TakeOutputOption(args);
    RejectOptions(args);
    if (args.size() != 2)
        throw UsageError("extract needs ARCHIVE and NAME");
    ArchiveReader archive{fs::path(args[0])};
    const PackageFile* pEntry = archive.Find(args[1]);
    if (pEntry == nullptr)
        throw ToolError(args[0] + ": no entry named " + LookupName(args[1]));
    // Checked before the target is opened, so that an existing file survives.
    std::string sFault = archive.BlockFault(*pEntry);
    if (!sFault.empty())
        throw ToolError(args[0] + ": " + EntryName(*pEntry) + ": " + sFault);
    if (sTarget.empty())
        sTarget = EntryName(*pEntry);
    WriteEntry(archive, *pEntry, fs::path(sTarget));
    FileStamp stamp;
    stamp.ftCreation = pEntry->CreationTime;
    stamp.ftLastAccess = pEntry->LastAccessTime;
    stamp.ftLastWrite = pEntry->LastWriteTime;
    std::string sError;
    if (!ApplyFileTimes(fs::path(sTarget), stamp, sError))
        throw ToolError(sTarget + ": cannot set the file times: " + sError);
    out << "Extracted " << EntryName(*pEntry) << " to " << sTarget << "\n";
    return SETUPDAT_EXIT_OK;
}

// Takes "--setup VALUE" out of args; empty if absent.
std::string TakeSetupOption(std::vector<std::string>& args)
{
    for (std::size_t i = 0; i < args.size(); ++i)
    {
        if (args[i] != "--setup")
            continue;
        if (i + 1 >= args.size())
            throw UsageError("--setup needs the setup program");
        std::string sValue = args[i + 1];
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                   args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        return sValue;
    }
    return std::string();
}

int Verify(std::vector<std::string> args, std::ostream& out)
{
    bool bPlan = false;
    for (std::size_t i = 0; i < args.size(); ++i)
    {
        if (args[i] == "--plan")
        {
            bPlan = true;
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    }
    std::string sSetup = TakeSetupOption(args);
    RejectOptions(args);
    if (args.size() != 1)
        throw UsageError("verify needs exactly one ARCHIVE");
    ArchiveReader archive{fs::path(args[0])};
    std::string sFault = FindArchiveFault(archive, bPlan);
    if (sFault.empty() && !sSetup.empty())
        sFault = SealFault(fs::path(sSetup), fs::path(args[0]));
    if (!sFault.empty())
        throw ToolError(args[0] + ": " + sFault);
    out << args[0] << ": OK, " << archive.Entries().size() << " entries"
        << (bPlan ? ", install plan complete" : "")
        << (sSetup.empty() ? "" : ", the archive " + sSetup + " is sealed with") << "\n";
    return SETUPDAT_EXIT_OK;
}

int Seal(const std::vector<std::string>& args, std::ostream& out)
{
    RejectOptions(args);
    if (args.size() != 2)
        throw UsageError("seal needs SETUP_EXE and ARCHIVE");
    std::string sHex = SealSetup(fs::path(args[0]), fs::path(args[1]));
    out << "Sealed " << args[0] << " with the SHA-256 of " << args[1] << ": " << sHex << "\n";
    return SETUPDAT_EXIT_OK;
}

int Dispatch(const std::vector<std::string>& args, std::ostream& out)
{
    if (args.empty())
        throw UsageError("no command given");
    const std::string& sCommand = args[0];
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (sCommand == "--help" || sCommand == "-h" || sCommand == "help")
    {
        out << USAGE;
        return SETUPDAT_EXIT_OK;
    }
    if (sCommand == "pack")
        return Pack(rest, out);
    if (sCommand == "list")
        return List(rest, out);
    if (sCommand == "extract")
        return Extract(rest, out);
    if (sCommand == "verify")
        return Verify(rest, out);
    if (sCommand == "seal")
        return Seal(rest, out);
    throw UsageError("unknown command: " + sCommand);
}
} // namespace

int RunSetupDat(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    try
    {
        return Dispatch(args, out);
    }
    catch (const UsageError& e)
    {
        err << "setupdat: " << e.what() << "\nRun \"setupdat --help\" for the usage.\n";
        return SETUPDAT_EXIT_USAGE;
    }
    catch (const std::exception& e)
    {
        err << "setupdat: error: " << e.what() << "\n";
        return SETUPDAT_EXIT_FAILURE;
    }
}
