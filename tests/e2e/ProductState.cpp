#include "ProductState.h"

#include "E2eFiles.h"
#include "ProcessTree.h"
#include "TxHandles.h"

#include <shlobj.h>

namespace
{
constexpr char NT_PATH_PREFIX[] = "\\??\\";
constexpr char UNINSTALL_ROOT_KEY[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::string ParentFolder(const std::string& sPath)
{
    size_t nSlash = sPath.find_last_of('\\');
    return nSlash == std::string::npos ? std::string() : sPath.substr(0, nSlash);
}

std::string ShellFolder(int iCsidl)
{
    char szPath[MAX_PATH] = "";
    if (SHGetFolderPathA(nullptr, iCsidl, nullptr, 0, szPath) != S_OK)
        return std::string();
    return szPath;
}

bool OpenKey(const char* pszKey, REGSAM access, TxRegKey& key)
{
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, pszKey, 0, access, key.Receive()) == ERROR_SUCCESS;
}

// Deletes a key with its values and its own subkeys (one level is all the
// product makes).
void DeleteRegKey(const char* pszKey)
{
    TxRegKey key;
    if (OpenKey(pszKey, KEY_READ, key))
    {
        char szSub[256];
        std::vector<std::string> subkeys;
        for (DWORD i = 0; RegEnumKeyA(key.Get(), i, szSub, sizeof(szSub)) == ERROR_SUCCESS; ++i)
            subkeys.push_back(szSub);
        key.Reset();
        for (const std::string& sSub : subkeys)
            RegDeleteKeyA(HKEY_LOCAL_MACHINE, (std::string(pszKey) + "\\" + sSub).c_str());
    }
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, pszKey);
}

std::string WithoutNtPrefix(const std::string& sPath)
{
    return sPath.compare(0, 4, NT_PATH_PREFIX) == 0 ? sPath.substr(4) : sPath;
}

bool KeyIsEmpty(const char* pszKey)
{
    TxRegKey key;
    if (!OpenKey(pszKey, KEY_READ, key))
        return false;
    DWORD dwSubkeys = 0;
    DWORD dwValues = 0;
    return RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &dwSubkeys, nullptr, nullptr,
                            &dwValues, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
           dwSubkeys == 0 && dwValues == 0;
}
} // namespace

ProductPaths ProductPaths::Defaults()
{
    ProductPaths paths;
    paths.sProgramDir = JoinPath(ShellFolder(CSIDL_PROGRAM_FILES), "Quorvane");
    std::string sPictures = ShellFolder(CSIDL_MYPICTURES);
    if (sPictures.empty())
        sPictures = ShellFolder(CSIDL_PERSONAL);
    paths.sImageDir = JoinPath(sPictures, "Quorvane");
    char szSystem[MAX_PATH] = "";
    UINT n = GetSystemDirectoryA(szSystem, MAX_PATH);
    paths.sSystemDir = n > 0 && n < MAX_PATH ? szSystem : "C:\\windows\\system32";
    paths.sCommonPrograms = ShellFolder(CSIDL_COMMON_PROGRAMS);
    paths.sCommonDesktop = ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY);
    paths.sPrograms = ShellFolder(CSIDL_PROGRAMS);
    paths.sDesktop = ShellFolder(CSIDL_DESKTOPDIRECTORY);
    return paths;
}

std::string ProductPaths::ScreenSaver() const
{
    return JoinPath(sSystemDir, "Quorvane.scr");
}

std::vector<std::string> ProductPaths::ShortcutPlaces() const
{
    std::vector<std::string> places;
    for (const std::string* pFolder : {&sCommonPrograms, &sCommonDesktop, &sPrograms, &sDesktop})
        if (!pFolder->empty())
            places.push_back(JoinPath(*pFolder, SHORTCUT_NAME));
    return places;
}

std::vector<std::string> PendingDeletions()
{
    std::vector<std::string> strings = PendingRenames();
    std::vector<std::string> paths;
    for (size_t i = 0; i + 1 < strings.size(); i += 2)
        if (!strings[i].empty() && strings[i + 1].empty())
            paths.push_back(WithoutNtPrefix(strings[i]));
    return paths;
}

bool CancelPendingDeletions(const std::string& sFolder)
{
    std::vector<std::string> strings = PendingRenames();
    std::vector<std::string> kept;
    bool bCancelled = false;
    for (size_t i = 0; i + 1 < strings.size(); i += 2)
    {
        if (strings[i].empty())
            continue;
        if (strings[i + 1].empty() && IsAtOrUnder(WithoutNtPrefix(strings[i]), sFolder))
            bCancelled = true;
        else
            kept.insert(kept.end(), {strings[i], strings[i + 1]});
    }
    return !bCancelled || SetPendingRenames(kept);
}

bool IsAtOrUnder(const std::string& sPath, const std::string& sFolder)
{
    if (sFolder.empty() || sPath.size() < sFolder.size() ||
        CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, sPath.c_str(),
                       static_cast<int>(sFolder.size()), sFolder.c_str(),
                       static_cast<int>(sFolder.size())) != CSTR_EQUAL)
        return false;
    return sPath.size() == sFolder.size() || sPath[sFolder.size()] == '\\' ||
           sFolder.back() == '\\';
}

void RemoveProduct(const ProductPaths& paths, const std::vector<std::string>& extraFolders)
{
    // An uninstaller run leaves its own file to the next restart.
    CancelPendingDeletions(paths.sProgramDir);
    KillProcessesOf(JoinPath(paths.sProgramDir, "QvManag.exe"));
    DeleteTree(paths.sProgramDir);
    DeleteTree(paths.sImageDir);
    for (const std::string& sFolder : extraFolders)
        DeleteTree(sFolder);
    DeleteTree(paths.ScreenSaver());
    for (const std::string& sLink : paths.ShortcutPlaces())
        DeleteTree(sLink);
    DeleteRegValue(RUN_KEY, "QuorvaneAgent");
    DeleteRegKey(UNINSTALL_KEY);
    DeleteRegKey(PRODUCT_KEY);
    if (KeyIsEmpty(VENDOR_KEY))
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, VENDOR_KEY);
}

std::vector<std::string> ProductTraces(const ProductPaths& paths)
{
    std::vector<std::string> traces;
    for (const std::string& sPath : {paths.sProgramDir, paths.sImageDir, paths.ScreenSaver()})
        if (FileExists(sPath) || FolderExists(sPath))
            traces.push_back(sPath);
    for (const std::string& sLink : paths.ShortcutPlaces())
        if (FileExists(sLink))
            traces.push_back(sLink);
    for (const std::string& sPath : PendingDeletions())
        if (IsAtOrUnder(sPath, paths.sProgramDir))
            traces.push_back("pending deletion of " + sPath);
    if (RegValueExists(RUN_KEY, "QuorvaneAgent"))
        traces.push_back("Run\\QuorvaneAgent");
    if (RegValueExists(RUN_KEY, "t_e_s_t"))
        traces.push_back("Run\\t_e_s_t");
    for (const char* pszKey : {UNINSTALL_KEY, PRODUCT_KEY})
        if (RegKeyExists(pszKey))
            traces.push_back(pszKey);
    return traces;
}

MachineSnapshot ProductSnapshot(const ProductPaths& paths)
{
    std::vector<std::string> places = {ParentFolder(paths.sProgramDir),
                                       ParentFolder(paths.sImageDir),
                                       paths.sPrograms,
                                       paths.sCommonPrograms,
                                       paths.sDesktop,
                                       paths.sCommonDesktop,
                                       paths.ScreenSaver()};
    return MachineSnapshot(places, {VENDOR_KEY, RUN_KEY, UNINSTALL_ROOT_KEY});
}

std::vector<std::vector<std::string>> InstallLogBlocks(const std::string& sBytes)
{
    std::vector<std::vector<std::string>> blocks(1);
    size_t nPos = 0;
    while (nPos < sBytes.size())
    {
        size_t nEnd = sBytes.find("\r\n", nPos);
        if (nEnd == std::string::npos)
            nEnd = sBytes.size();
        std::string sLine = sBytes.substr(nPos, nEnd - nPos);
        nPos = nEnd + 2;
        if (sLine.empty())
            continue;
        blocks.back().push_back(sLine);
        if (sLine.compare(0, 10, "S_TIME___ ") == 0)
            blocks.emplace_back();
    }
    if (blocks.back().empty())
        blocks.pop_back();
    return blocks;
}
