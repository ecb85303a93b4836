// A medium whose folder also holds DLLs planted under the names of every
// DLL the setup process loads in a whole installation (Wine's +loaddll trace
// of both builds, and the names the system's shims and the theme load on
// Windows). None of them may be loaded.
//
// What this shows under Wine is the search order the setup itself controls:
// Wine is told to prefer a DLL it finds over its own for the setup (as
// Windows does for every DLL that is not a KnownDLL), so any search that
// reaches the medium's folder takes the planted one. What it cannot show is
// the Windows shim engine, which loads DLLs for a program named Setup before
// its first instruction; the manifest pins those to the system folder. A
// planted DLL taken for a static import would fail the setup before its
// DllMain runs: the installation would not complete.
#include "ProcessTree.h"
#include "DllSearch.h"
#include "MessagePump.h"
#include "SetupE2eTest.h"

#include <set>

namespace
{
// KnownDLLs of Windows: taken from the system folder whatever the search
// order. Planted, but Wine is not told to prefer them: it would take them
// for the setup's own imports, which Windows never does.
const char* const KNOWN_DLLS[] = {
    "advapi32", "clbcatq",  "combase", "coml2",   "gdi32",  "imm32",   "kernel32", "msvcrt",
    "ole32",    "oleaut32", "rpcrt4",  "sechost", "shcore", "shell32", "shlwapi",  "user32",
};
// Loaded by the setup process under Wine, besides the KnownDLLs and Wine's
// own parts (ntdll, kernelbase, win32u, the display driver).
const char* const TRACED_DLLS[] = {
    "comctl32", "uxtheme", "msimg32", "shfolder", "actxprxy",
};
constexpr char OVERRIDES_KEY[] = "Software\\Wine\\AppDefaults\\Setup.exe\\DllOverrides";

std::set<std::string> PlantedNames()
{
    std::set<std::string> names(std::begin(TRACED_DLLS), std::end(TRACED_DLLS));
    size_t nCount = 0;
    const char* const* ppszLate = LateLoadedDlls(nCount);
    for (size_t i = 0; i < nCount; ++i)
        names.insert(std::string(ppszLate[i]).substr(0, lstrlenA(ppszLate[i]) - 4));
    return names;
}

// Wine takes a DLL it finds before its own for Setup.exe while this lives.
class PreferFoundDlls
{
public:
    explicit PreferFoundDlls(const std::set<std::string>& names)
    {
        for (const std::string& sName : names)
            m_bReady = WriteRegValue(OVERRIDES_KEY, sName.c_str(),
                                     RegValue::String("native,builtin"), HKEY_CURRENT_USER);
    }
    ~PreferFoundDlls() { RegDeleteKeyA(HKEY_CURRENT_USER, OVERRIDES_KEY); }
    PreferFoundDlls(const PreferFoundDlls&) = delete;
    PreferFoundDlls& operator=(const PreferFoundDlls&) = delete;

    bool IsReady() const { return m_bReady; }

private:
    bool m_bReady = false;
};

} // namespace

class DllPlantingTest : public SetupE2eTest
{
};

TEST_F(DllPlantingTest, AFullInstallationLoadsNoDllFromTheMediumsFolder)
{
    MakeMedium();
    std::set<std::string> preferred = PlantedNames();
    std::set<std::string> planted = preferred;
    planted.insert(std::begin(KNOWN_DLLS), std::end(KNOWN_DLLS));
    for (const std::string& sName : planted)
        ASSERT_TRUE(CopyOneFile(BuildPath("tests\\e2e\\Planted.dll"), MediumFile(sName + ".dll")))
            << sName;
    PreferFoundDlls overrides(preferred);
    ASSERT_TRUE(overrides.IsReady());

    StartSetup();
    HWND hBye = InstallAndWaitForFinish(WalkToInstallStep(true));
    ASSERT_NE(hBye, nullptr);
    // Starting the manager loads the shell's interfaces.
    CloseFinishStep(hBye, true);
    EXPECT_TRUE(WaitUntil(
        [&] { return !ProcessesOf(JoinPath(m_Paths.sProgramDir, "QvManag.exe")).empty(); }, 10000));
    std::vector<std::string> records = ListFiles(m_sMedium, "*.loaded");
    EXPECT_TRUE(records.empty()) << records.size() << " planted DLLs loaded, first "
                                 << (records.empty() ? std::string() : records[0]);
}
