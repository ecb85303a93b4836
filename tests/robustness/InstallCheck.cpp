#include "InstallCheck.h"

#include "ArchiveOracle.h"
#include "LanguageCatalogue.h"
#include "PostInstall.h"
#include "RegistryHelpers.h"
#include "SetupState.h"
#include "TestSupport.h"
#include "TxHandles.h"

#include <windows.h>

namespace
{
std::uint64_t Time(const FILETIME& ft)
{
    return ft.dwLowDateTime | static_cast<std::uint64_t>(ft.dwHighDateTime) << 32;
}

// The times first: reading the bytes may move the last-access time.
bool FileState(const std::string& sPath, WIN32_FILE_ATTRIBUTE_DATA& data, std::string& sBytes)
{
    return GetFileAttributesExA(sPath.c_str(), GetFileExInfoStandard, &data) &&
           ReadWhole(sPath, sBytes);
}

// A REG_SZ value's text, or a text that no folder can be.
std::string RegistryText(const char* pszKey, const char* pszValue)
{
    std::string sText;
    return ReadRegString(pszKey, pszValue, sText) ? sText : "<missing>";
}

class CDifferences
{
public:
    void Add(const std::string& sWhat, const std::string& sPath)
    {
        m_Lines.push_back(sWhat + ": " + sPath);
    }
    std::vector<std::string> m_Lines;
};

void CheckFile(CDifferences& d, const std::string& sPath, const std::string& sBytes,
               const OracleEntry* pEntry, std::uint64_t qwWriteTime)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    std::string sHave;
    if (!FileState(sPath, data, sHave))
        return d.Add("missing", sPath);
    KeepFileTimes(sPath, data);
    if (sHave != sBytes || data.nFileSizeLow != sBytes.size() || data.nFileSizeHigh != 0)
        d.Add("bytes or size differ", sPath);
    if (Time(data.ftLastWriteTime) != qwWriteTime)
        d.Add("last-write time differs", sPath);
    if (pEntry != nullptr && (Time(data.ftCreationTime) != pEntry->qwCreation ||
                              Time(data.ftLastAccessTime) != pEntry->qwLastAccess))
        d.Add("creation or last-access time differs", sPath);
}

void CheckLink(CDifferences& d, const std::string& sFolder)
{
    std::string sLink = JoinPath(sFolder, SHORTCUT_FILE_NAME);
    std::string sWanted = JoinPath(std::string(g_sDstDir.GetText()), "QvManag.exe");
    // A link that stayed from before (its replacement failed, by design
    // without a message) must keep its times when it is read.
    WIN32_FILE_ATTRIBUTE_DATA data;
    bool bExists = GetFileAttributesExA(sLink.c_str(), GetFileExInfoStandard, &data) != FALSE;
    ShortcutInfo link;
    if (bExists)
    {
        ReadShortcut(sLink, link);
        KeepFileTimes(sLink, data);
    }
    if (CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, link.sTarget.c_str(), -1,
                       sWanted.c_str(), -1) != CSTR_EQUAL)
        d.Add("no link to the manager", sLink);
}

} // namespace

std::vector<std::string> DifferencesFromMedium(const std::string& sMedium,
                                               const InstallChoices& choices)
{
    CDifferences d;
    std::string sArchive;
    ReadWhole(JoinPath(sMedium, "Setup.dat"), sArchive);
    ArchiveOracle o = ReadArchiveOracle(sArchive);
    for (int i = 0; i < g_InstallFiles.GetCount(); ++i)
    {
        const CInstallFile& file = *g_InstallFiles.FileAt(i);
        std::string sName = file.sDstName.GetText();
        const OracleEntry* pEntry = nullptr;
        std::size_t iDot = sName.rfind('.');
        if ((file.dwFlags & IF_LOCALIZED) != 0 && iDot != std::string::npos)
            pEntry = OracleLookup(o, sName.substr(0, iDot) + "_" + g_sLangEName.GetText() +
                                         sName.substr(iDot));
        if (pEntry == nullptr)
            pEntry = OracleLookup(o, sName);
        std::string sFolder =
            file.sDstFolder.IsEmpty() ? g_sDstDir.GetText() : file.sDstFolder.GetText();
        if (!file.sSubFolder.IsEmpty())
            sFolder = JoinPath(sFolder, file.sSubFolder.GetText());
        if (pEntry == nullptr || !BlockFits(*pEntry, sArchive.size()))
            d.Add("not on the medium", sName);
        else
            CheckFile(d, JoinPath(sFolder, sName),
                      sArchive.substr(pEntry->dwOffset, pEntry->dwSize), pEntry,
                      pEntry->qwLastWrite);
    }
    WIN32_FIND_DATAA find;
    TxFindHandle h(FindFirstFileA(JoinPath(sMedium, "Images\\*.jpg").c_str(), &find));
    for (bool bMore = h.IsValid() && choices.bImages; bMore; bMore = FindNextFileA(h.Get(), &find))
    {
        std::string sBytes;
        ReadWhole(JoinPath(sMedium, "Images\\" + std::string(find.cFileName)), sBytes);
        CheckFile(d, JoinPath(std::string(g_sImgDstDir.GetText()), find.cFileName), sBytes, nullptr,
                  Time(find.ftLastWriteTime));
    }
    if (RegistryText(SETUP_REG_KEY, INSTALLED_PRG_DIR_VALUE) != g_sDstDir.GetText())
        d.Add("registry value differs", INSTALLED_PRG_DIR_VALUE);
    if (RegistryText(SETUP_REG_KEY, INSTALLED_IMG_DIR_VALUE) !=
        (choices.bImages ? g_sImgDstDir.GetText() : "<missing>"))
        d.Add("registry value differs", INSTALLED_IMG_DIR_VALUE);
    std::string sAgent = "\"" + JoinPath(std::string(g_sDstDir.GetText()), "QvAgent.exe") + "\" /r";
    if (RegistryText(REG_RUN_KEY, REG_AUTORUN_VALUE) != sAgent)
        d.Add("registry value differs", REG_AUTORUN_VALUE);
    // A Start-menu folder that cannot be made gives no link, by design.
    if (choices.bStartMenu && GetFileAttributesA(g_sPrograms.GetText()) != INVALID_FILE_ATTRIBUTES)
        CheckLink(d, g_sPrograms.GetText());
    if (choices.bDesktop)
        CheckLink(d, g_sDesktop.GetText());
    return d.m_Lines;
}
