#include "ProgramStart.h"

#include "CLog.h"
#include "TxComLibrary.h"
#include "TxHandles.h"
#include "TxSystemLibrary.h"

#include <exdisp.h>
#include <shldisp.h>
#include <shlobj.h>
#include <vector>

namespace
{
using CreateProcessWithTokenWProc = BOOL(WINAPI*)(HANDLE, DWORD, LPCWSTR, LPWSTR, DWORD, LPVOID,
                                                  LPCWSTR, LPSTARTUPINFOW, LPPROCESS_INFORMATION);

// What CreateProcessWithTokenW needs of the token it is given.
constexpr DWORD PRIMARY_TOKEN_ACCESS = TOKEN_QUERY | TOKEN_DUPLICATE | TOKEN_ASSIGN_PRIMARY |
                                       TOKEN_ADJUST_DEFAULT | TOKEN_ADJUST_SESSIONID;

std::vector<wchar_t> Wide(const char* pszText)
{
    int n = MultiByteToWideChar(CP_ACP, 0, pszText, -1, nullptr, 0);
    std::vector<wchar_t> text(n > 0 ? n : 1, L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, pszText, -1, text.data(), n);
    return text;
}

TxString CommandLine(const char* pszPath, const char* pszArguments)
{
    TxString sCommand("\"");
    sCommand.Append(pszPath);
    sCommand.Append("\"");
    if (pszArguments != nullptr && *pszArguments != '\0')
    {
        sCommand.Append(" ");
        sCommand.Append(pszArguments);
    }
    return sCommand;
}

bool TokenValue(HANDLE hToken, TOKEN_INFORMATION_CLASS what, DWORD& dwValue)
{
    DWORD cb = 0;
    return GetTokenInformation(hToken, what, &dwValue, sizeof(dwValue), &cb) != FALSE;
}

// Without UAC (or for the account whose token UAC does not split) the
// user's own token is the administrator's: only then may what the setup
// starts run elevated.
bool MayRunElevated()
{
    TxKernelHandle token;
    DWORD dwType = 0;
    return OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Receive()) &&
           TokenValue(token.Get(), TokenElevationType, dwType) &&
           dwType == TokenElevationTypeDefault;
}

// Whether a process made suspended may run: its token must be what the
// route asked for. A system that ignored the token given would have handed
// it the setup's own.
bool MayRun(HANDLE hProcess, const char* pszPath)
{
    TxKernelHandle token;
    DWORD dwElevated = 1;
    if (!OpenProcessToken(hProcess, TOKEN_QUERY, token.Receive()) ||
        !TokenValue(token.Get(), TokenElevation, dwElevated))
    {
        TX_LOG("StartWithShellToken - the program's token cannot be read: path=%s, error=%lu",
               pszPath, GetLastError());
        return false;
    }
    if (dwElevated != 0 && !MayRunElevated())
    {
        TX_LOG("StartWithShellToken - refused, the program would run elevated: path=%s", pszPath);
        return false;
    }
    return true;
}

// A primary token made from the one of the process behind the desktop's
// shell window: the signed-in user's explorer.
bool ShellToken(TxKernelHandle& token)
{
    HWND hShell = GetShellWindow();
    DWORD dwShellId = 0;
    if (hShell == nullptr || GetWindowThreadProcessId(hShell, &dwShellId) == 0)
    {
        TX_LOG("StartWithShellToken - no desktop shell window");
        return false;
    }
    TxKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, dwShellId));
    TxKernelHandle shellToken;
    if (!process.IsValid() ||
        !OpenProcessToken(process.Get(), TOKEN_QUERY | TOKEN_DUPLICATE, shellToken.Receive()))
    {
        TX_LOG("StartWithShellToken - the shell's token cannot be opened: pid=%lu, error=%lu",
               dwShellId, GetLastError());
        return false;
    }
    if (!DuplicateTokenEx(shellToken.Get(), PRIMARY_TOKEN_ACCESS, nullptr, SecurityImpersonation,
                          TokenPrimary, token.Receive()))
    {
        TX_LOG("StartWithShellToken - DuplicateTokenEx failed: error=%lu", GetLastError());
        return false;
    }
    return true;
}

bool ShellStep(HRESULT hr, const char* pszStep)
{
    if (SUCCEEDED(hr))
        return true;
    TX_LOG("StartProgramAsUser - shell step failed: step=%s, hr=0x%08lx", pszStep,
           static_cast<unsigned long>(hr));
    return false;
}

// The desktop's shell view of the signed-in user's explorer, as its
// scripting object: that process runs with the user's own token.
bool DesktopShell(TxComPtr<IShellDispatch2>& pShell)
{
    TxComPtr<IShellWindows> pWindows;
    if (!ShellStep(TxCreateInstance(CLSID_ShellWindows, IID_IShellWindows, pWindows.Receive(),
                                    CLSCTX_LOCAL_SERVER),
                   "ShellWindows"))
        return false;
    VARIANT location = {};
    location.vt = VT_I4;
    location.lVal = CSIDL_DESKTOP;
    VARIANT root = {};
    long lHwnd = 0;
    TxComPtr<IDispatch> pDesktop;
    HRESULT hr = pWindows->FindWindowSW(&location, &root, SWC_DESKTOP, &lHwnd, SWFO_NEEDDISPATCH,
                                        reinterpret_cast<IDispatch**>(pDesktop.Receive()));
    // S_FALSE: no desktop window is registered.
    if (!ShellStep(hr == S_FALSE ? E_FAIL : hr, "FindWindowSW") || pDesktop.Get() == nullptr)
        return false;
    TxComPtr<IServiceProvider> pProvider;
    if (!ShellStep(pDesktop->QueryInterface(IID_IServiceProvider, pProvider.Receive()),
                   "IServiceProvider"))
        return false;
    TxComPtr<IShellBrowser> pBrowser;
    if (!ShellStep(
            pProvider->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, pBrowser.Receive()),
            "SID_STopLevelBrowser"))
        return false;
    TxComPtr<IShellView> pView;
    if (!ShellStep(pBrowser->QueryActiveShellView(reinterpret_cast<IShellView**>(pView.Receive())),
                   "QueryActiveShellView"))
        return false;
    TxComPtr<IDispatch> pBackground;
    if (!ShellStep(pView->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, pBackground.Receive()),
                   "GetItemObject"))
        return false;
    TxComPtr<IShellFolderViewDual> pFolderView;
    if (!ShellStep(pBackground->QueryInterface(IID_IShellFolderViewDual, pFolderView.Receive()),
                   "IShellFolderViewDual"))
        return false;
    TxComPtr<IDispatch> pApplication;
    if (!ShellStep(
            pFolderView->get_Application(reinterpret_cast<IDispatch**>(pApplication.Receive())),
            "get_Application"))
        return false;
    return ShellStep(pApplication->QueryInterface(IID_IShellDispatch2, pShell.Receive()),
                     "IShellDispatch2");
}
} // namespace

TxString ProgramFolder(const char* pszPath)
{
    TxString sFolder(pszPath);
    int iSlash = sFolder.Find("\\", false, true, sFolder.Length());
    if (iSlash == 0)
        return TxString();
    // "C:\QvManag.exe" keeps the root's backslash.
    sFolder.SetLength(iSlash == 3 && pszPath[1] == ':' ? iSlash : iSlash - 1);
    return sFolder;
}

bool StartWithShellToken(const char* pszPath, const char* pszArguments)
{
    // Windows Vista and later; also missing where advapi32 is not loaded.
    auto pfnCreate = ModuleFunction<CreateProcessWithTokenWProc>(GetModuleHandleA("advapi32.dll"),
                                                                 "CreateProcessWithTokenW");
    if (pfnCreate == nullptr)
    {
        TX_LOG("StartWithShellToken - CreateProcessWithTokenW is missing");
        return false;
    }
    TxKernelHandle token;
    if (!ShellToken(token))
        return false;
    std::vector<wchar_t> path = Wide(pszPath);
    std::vector<wchar_t> command = Wide(CommandLine(pszPath, pszArguments).GetText());
    TxString sFolder = ProgramFolder(pszPath);
    std::vector<wchar_t> folder = Wide(sFolder.GetText());
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    // The environment is the user's, made from the token's profile.
    if (!pfnCreate(token.Get(), 0, path.data(), command.data(), CREATE_SUSPENDED, nullptr,
                   sFolder.IsEmpty() ? nullptr : folder.data(), &startup, &info))
    {
        DWORD dwError = GetLastError();
        TX_LOG("StartWithShellToken - CreateProcessWithTokenW failed: path=%s, error=%lu", pszPath,
               dwError);
        return false;
    }
    TxKernelHandle process(info.hProcess);
    TxKernelHandle thread(info.hThread);
    // Made by the logon service, it would otherwise open behind the setup.
    if (!AllowSetForegroundWindow(info.dwProcessId))
        TX_LOG("StartWithShellToken - AllowSetForegroundWindow failed: pid=%lu, error=%lu",
               info.dwProcessId, GetLastError());
    if (!MayRun(process.Get(), pszPath) || ResumeThread(thread.Get()) == static_cast<DWORD>(-1))
    {
        TerminateProcess(process.Get(), ERROR_ACCESS_DENIED);
        return false;
    }
    return true;
}

bool StartThroughShell(const char* pszPath, const char* pszArguments)
{
    TxComInit com;
    if (!ShellStep(com.Result(), "CoInitialize"))
        return false;
    TxComPtr<IShellDispatch2> pShell;
    if (!DesktopShell(pShell))
        return false;
    TxBstr file(pszPath);
    TxBstr folder(ProgramFolder(pszPath).GetText());
    TxBstr operation("open");
    TxBstr parameters(pszArguments != nullptr ? pszArguments : "");
    if (file.Get() == nullptr || folder.Get() == nullptr || operation.Get() == nullptr ||
        parameters.Get() == nullptr)
        return ShellStep(E_OUTOFMEMORY, "SysAllocString");
    // Zeroed variants are VT_EMPTY (the shell quotes the path itself).
    // VariantInit would tie oleaut32 to every start.
    VARIANT arguments = {};
    if (pszArguments != nullptr && *pszArguments != '\0')
    {
        arguments.vt = VT_BSTR;
        arguments.bstrVal = parameters.Get();
    }
    VARIANT directory = {};
    directory.vt = VT_BSTR;
    directory.bstrVal = folder.Get();
    VARIANT verb = {};
    verb.vt = VT_BSTR;
    verb.bstrVal = operation.Get();
    VARIANT show = {};
    show.vt = VT_I4;
    show.lVal = SW_SHOWNORMAL;
    return ShellStep(pShell->ShellExecute(file.Get(), arguments, directory, verb, show),
                     "ShellExecute");
}

ProgramStartRoute StartProgramAsUser(const char* pszPath, const char* pszArguments)
{
    if (StartWithShellToken(pszPath, pszArguments))
    {
        TX_LOG("StartProgramAsUser - started with the desktop shell's token: path=%s", pszPath);
        return ProgramStartRoute::ShellToken;
    }
    if (StartThroughShell(pszPath, pszArguments))
    {
        TX_LOG("StartProgramAsUser - started by the desktop's shell: path=%s", pszPath);
        return ProgramStartRoute::UserShell;
    }
    // Never with the setup's own token: that would hand the user's program
    // the administrator's rights.
    TX_LOG("StartProgramAsUser - not started: path=%s", pszPath);
    return ProgramStartRoute::None;
}
