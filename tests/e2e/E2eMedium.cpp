#include "E2eMedium.h"

#include "ChildProcess.h"
#include "E2eFiles.h"

#include <map>
#include <memory>

namespace
{
constexpr unsigned PACK_TIMEOUT_MS = 60000;
const char* const STANDINS[] = {"QvAgent.exe",   "QvApi.dll",   "QvManag.exe",
                                "Uninstall.exe", "QvImage.dll", "Quorvane.scr"};

std::string StandInFolder()
{
    return ProgramsPath("media\\standins\\bin");
}

std::string SampleFolder()
{
    return SourcePath("media\\files");
}

bool IsStandIn(const std::string& sName)
{
    for (const char* pszName : STANDINS)
        if (lstrcmpiA(pszName, sName.c_str()) == 0)
            return true;
    return false;
}

// The archive's inputs, flat, less one file.
bool StageArchiveFiles(const std::string& sStaging, const std::string& sOmit, std::string& sError)
{
    for (const char* pszName : STANDINS)
    {
        if (lstrcmpiA(pszName, sOmit.c_str()) == 0)
            continue;
        if (!CopyOneFile(JoinPath(StandInFolder(), pszName), JoinPath(sStaging, pszName)))
        {
            sError = "stand-in missing from the build: " + JoinPath(StandInFolder(), pszName);
            return false;
        }
    }
    for (const std::string& sName : ListFiles(SampleFolder()))
    {
        if (sName == "make-textures" || lstrcmpiA(sName.c_str(), sOmit.c_str()) == 0)
            continue;
        if (!CopyOneFile(JoinPath(SampleFolder(), sName), JoinPath(sStaging, sName)))
        {
            sError = "cannot stage " + sName;
            return false;
        }
    }
    return true;
}

// Archives are packed once per run and per left-out file, then copied.
const std::string* PackedArchive(const std::string& sOmit, std::string& sError)
{
    static std::unique_ptr<TempFolder> s_pCache;
    static std::map<std::string, std::string> s_Archives;
    auto it = s_Archives.find(sOmit);
    if (it != s_Archives.end())
        return &it->second;
    if (!s_pCache)
        s_pCache = std::make_unique<TempFolder>("qve2e-archives-");
    std::string sKey = sOmit.empty() ? std::string("full") : "no-" + sOmit;
    std::string sStaging = *s_pCache / (sKey + "-files");
    std::string sArchive = *s_pCache / (sKey + ".dat");
    if (!MakeFolders(sStaging) || !StageArchiveFiles(sStaging, sOmit, sError))
        return nullptr;
    std::string sTool = BuildPath("tools\\setupdat\\setupdat.exe");
    std::string sCommand = "setupdat.exe pack -o \"" + sArchive + "\" \"" + sStaging + "\"";
    int iExit = RunTool(sTool, sCommand, PACK_TIMEOUT_MS);
    if (iExit != 0 || !FileExists(sArchive))
    {
        sError = "archive tool failed (" + std::to_string(iExit) + "): " + sCommand;
        return nullptr;
    }
    return &(s_Archives[sOmit] = sArchive);
}

// Not real pictures: the setup only copies them. Sizes differ so that the
// size texts and the random estimate have something to work on.
std::string ImageBytes(int i)
{
    std::string sBytes = "\xFF\xD8\xFF\xFE";
    sBytes.append(static_cast<size_t>(2000 + 517 * i), static_cast<char>('a' + i % 26));
    sBytes += "\xFF\xD9";
    return sBytes;
}

bool WriteImages(const std::string& sFolder, const MediumOptions& options, std::string& sError)
{
    if (options.iImages <= 0 && options.qwHugeImage == 0)
        return true;
    std::string sImages = JoinPath(sFolder, "Images");
    if (!MakeFolders(sImages))
    {
        sError = "cannot create " + sImages;
        return false;
    }
    std::vector<std::string> names = ImageNames(options.iImages);
    for (size_t i = 0; i < names.size(); ++i)
    {
        if (!WriteWholeFile(JoinPath(sImages, names[i]), ImageBytes(static_cast<int>(i))))
        {
            sError = "cannot write image " + names[i];
            return false;
        }
    }
    if (options.qwHugeImage > 0 &&
        !MakeSparseFile(JoinPath(sImages, "Huge.jpg"), options.qwHugeImage))
    {
        sError = "cannot make the huge image";
        return false;
    }
    return true;
}

bool CopyArchive(const std::string& sFolder, const MediumOptions& options, std::string& sError)
{
    const std::string* pArchive = PackedArchive(options.sOmitFromArchive, sError);
    std::string sTarget = JoinPath(sFolder, "Setup.dat");
    if (pArchive == nullptr || !CopyOneFile(*pArchive, sTarget))
    {
        if (sError.empty())
            sError = "cannot copy the archive";
        return false;
    }
    if (!options.bForeignSignature)
        return true;
    std::string sBytes;
    if (!ReadBytes(sTarget, sBytes) || sBytes.size() < 36)
        return false;
    // Same length as the real one, so only the text differs.
    sBytes.replace(0, 19, "Kestov Update Pack!");
    return WriteWholeFile(sTarget, sBytes);
}

// Seals Setup.exe with the build's archive tool, then changes the archive if
// asked: one byte in its middle, the size and the header left as they were.
bool SealSetup(const std::string& sFolder, const MediumOptions& options, std::string& sError)
{
    std::string sArchive = JoinPath(sFolder, "Setup.dat");
    std::string sCommand =
        "setupdat.exe seal \"" + JoinPath(sFolder, "Setup.exe") + "\" \"" + sArchive + "\"";
    int iExit = RunTool(BuildPath("tools\\setupdat\\setupdat.exe"), sCommand, PACK_TIMEOUT_MS);
    if (iExit != 0)
    {
        sError = "archive tool failed (" + std::to_string(iExit) + "): " + sCommand;
        return false;
    }
    if (!options.bChangedAfterSeal)
        return true;
    std::string sBytes;
    if (!ReadBytes(sArchive, sBytes) || sBytes.empty())
        return false;
    sBytes[sBytes.size() / 2] ^= 1;
    return WriteWholeFile(sArchive, sBytes);
}
} // namespace

std::vector<std::string> ImageNames(int iImages)
{
    std::vector<std::string> names;
    for (int i = 1; i <= iImages; ++i)
    {
        char szName[32];
        wsprintfA(szName, "Picture%02d.jpg", i);
        names.push_back(szName);
    }
    return names;
}

std::string SampleFilePath(const std::string& sName)
{
    return JoinPath(IsStandIn(sName) ? StandInFolder() : SampleFolder(), sName);
}

bool PrepareMedium(const std::string& sFolder, const MediumOptions& options, std::string& sError)
{
    if (!MakeFolders(sFolder))
    {
        sError = "cannot create " + sFolder;
        return false;
    }
    if (!CopyOneFile(ProgramsPath("wizard\\Setup.exe"), JoinPath(sFolder, "Setup.exe")))
    {
        sError = "Setup.exe missing from the build";
        return false;
    }
    if (!CopyOneFile(SourcePath("media\\SetupLang.dat"), JoinPath(sFolder, "SetupLang.dat")))
    {
        sError = "SetupLang.dat missing";
        return false;
    }
    if (options.bArchive && !CopyArchive(sFolder, options, sError))
        return false;
    if (options.bSealed && !SealSetup(sFolder, options, sError))
        return false;
    return WriteImages(sFolder, options, sError);
}
