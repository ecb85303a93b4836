#include "ArchiveVerify.h"

#include "EntryName.h"
#include "InstallPlanNames.h"

std::string FindArchiveFault(const ArchiveReader& archive, bool bPlan)
{
    const std::vector<PackageFile>& entries = archive.Entries();
    for (std::size_t i = 0; i < entries.size(); ++i)
    {
        std::string sFault = archive.BlockFault(entries[i]);
        if (!sFault.empty())
            return "entry " + std::to_string(i + 1) + " (" + EntryName(entries[i]) + "): " + sFault;
    }
    if (!bPlan)
        return std::string();
    for (const std::string& sName : InstallPlanNames())
    {
        if (archive.Find(sName) == nullptr)
            return "install-plan file missing: " + sName;
    }
    return std::string();
}
