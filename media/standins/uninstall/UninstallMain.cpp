// Reference uninstaller of the product: removes what the setup recorded in
// "Install.log" beside it (see UninstallPlan).
//
//   Uninstall.exe          shows a window; the removal starts with Start
//   Uninstall.exe /quiet   removes without any window (/q is the same)
//
// The installed program hands the work to a copy of itself in a temporary
// folder and ends with 0 at once (see SelfCopy); a caller that needs the
// result waits for the processes it started and their children, for example
// through a job, and takes the copy's exit code. It ends with the first code
// below only when no copy could be started and it did the work itself.
//
// Exit codes, those of the setup and of Windows Installer: 0 everything
// removed; 1602 the window was closed without starting; 1603 failed: nothing
// done (the log is missing or unreadable, or the window failed) or some items
// could not be removed (the report names them).
#include "CommandLine.h"
#include "DllSearch.h"
#include "ProductNames.h"
#include "SelfCopy.h"
#include "TxPaths.h"
#include "UninstallPlan.h"
#include "UninstallWindow.h"
#include "WindowSupport.h"

#include <string>
#include <windows.h>

namespace
{
constexpr int EXIT_DONE = 0;
constexpr int EXIT_NOT_STARTED = 1602;
constexpr int EXIT_NOTHING_DONE = 1603;
constexpr int EXIT_SOME_LEFT = 1603;

// Without a window the report goes to the debugger's output.
class DebugReport : public IUninstallReport
{
public:
    void ReportLine(const TxString& sLine) override
    {
        TxString sText(sLine);
        sText.Append("\r\n");
        OutputDebugStringA(sText.GetText());
    }
};

TxString FolderChild(const TxString& sFilePath, const char* pszName)
{
    TxString sPath(sFilePath);
    int iSlash = sPath.Find("\\", false, true, sPath.Length());
    sPath.SetLength(iSlash);
    sPath.Append(pszName);
    return sPath;
}

// A process's current folder cannot be removed: leave the product's folder.
// Best effort: if it fails, that folder is reported as not removed.
void LeaveOwnFolder()
{
    char szTemp[MAX_PATH + 1];
    DWORD n = GetTempPathA(sizeof(szTemp), szTemp);
    if (n > 0 && n < sizeof(szTemp))
        SetCurrentDirectoryA(szTemp);
}

int ExitCode(const UninstallOutcome& outcome)
{
    if (!outcome.bLogRead)
        return EXIT_NOTHING_DONE;
    return outcome.iFailures == 0 ? EXIT_DONE : EXIT_SOME_LEFT;
}

int RunRemoval(HINSTANCE hInstance, const char* pszCmdLine, int nCmdShow, const TxString& sSelf)
{
    TxString sLogPath = FolderChild(sSelf, INSTALL_LOG_NAME);
    LeaveOwnFolder();
    // Read before the removal takes the product's key away.
    UninstallTexts texts;
    texts.LoadFromRegistry();

    if (HasSwitch(pszCmdLine, "quiet") || HasSwitch(pszCmdLine, "q"))
    {
        DebugReport report;
        UninstallPlan plan(texts, report);
        plan.SetSelfPath(sSelf.GetText());
        return ExitCode(plan.Run(sLogPath.GetText()));
    }
    UninstallWindow window(texts, sLogPath, sSelf);
    if (!window.Create(hInstance, nCmdShow))
        return EXIT_NOTHING_DONE;
    RunMessageLoop();
    return window.WasStarted() ? ExitCode(window.Outcome()) : EXIT_NOT_STARTED;
}
} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR pszCmdLine, int nCmdShow)
{
    // Before anything can load a library: it runs elevated from a folder in
    // which others may have put DLLs.
    RestrictDllSearch();
    TxString sSelf = TxProgramPath();
    if (sSelf.IsEmpty())
        return EXIT_NOTHING_DONE;
    TxString sOriginal = WaitForOriginal(pszCmdLine);
    if (sOriginal.IsEmpty())
    {
        if (HandOverToCopy(sSelf, pszCmdLine))
            return EXIT_DONE;
        return RunRemoval(hInstance, pszCmdLine, nCmdShow, sSelf);
    }
    int iCode = RunRemoval(hInstance, pszCmdLine, nCmdShow, sOriginal);
    if (!ScheduleOwnRemoval(sSelf))
        OutputDebugStringA("Cannot schedule the removal of the uninstaller's temporary copy\r\n");
    return iCode;
}
