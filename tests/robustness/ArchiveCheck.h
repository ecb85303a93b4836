#pragma once

#include <string>
#include <vector>

// Runs the archive reader on one archive image and compares every answer
// with an independent reading of the format. Returns false for a false
// success: an open, lookup or extraction that reported success where the
// bytes do not allow it, or extracted bytes that differ from the block the
// table names; also when a failed extraction leaves its target behind.
class CArchiveCheck
{
public:
    // Works in sFolder; sNames are looked up in every variant besides the
    // variant's own entry names.
    CArchiveCheck(const std::string& sFolder, const std::vector<std::string>& sNames);
    bool Check(const std::string& sArchive);

private:
    std::string m_sArchivePath;
    std::string m_sTargetPath;
    std::vector<std::string> m_Names;
};
