#include "ManagerStart.h"

#include "CLog.h"
#include "TxComLibrary.h"
#include "TxHandles.h"

#include <exdisp.h>
#include <shldisp.h>
#include <shlobj.h>
#include <vector>

namespace
{
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

bool StartThroughShell(const char* pszPath, const char* pszFolder)
{
    TxComInit com;
    if (!ShellStep(com.Result(), "CoInitialize"))
        return false;
    TxComPtr<IShellDispatch2> pShell;
    if (!DesktopShell(pShell))
        return false;
    TxBstr file(pszPath);
    TxBstr folder(pszFolder);
    TxBstr operation("open");
    if (file.Get() == nullptr || folder.Get() == nullptr || operation.Get() == nullptr)
        return ShellStep(E_OUTOFMEMORY, "SysAllocString");
    // Zeroed variants are VT_EMPTY: no arguments (the shell quotes the path
    // itself). VariantInit would tie oleaut32 to every start.
    VARIANT arguments = {};
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

bool StartProgramDirectly(const char* pszPath)
{
    TxString sFolder = ProgramFolder(pszPath);
    TxString sCommand("\"");
    sCommand.Append(pszPath);
    sCommand.Append("\"");
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    // CreateProcessA may write into the command line.
    std::vector<char> command(sCommand.GetText(), sCommand.GetText() + sCommand.Length() + 1);
    if (!CreateProcessA(pszPath, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        sFolder.IsEmpty() ? nullptr : sFolder.GetText(), &startup, &process))
    {
        DWORD dwError = GetLastError();
        TX_LOG("StartProgramDirectly - CreateProcessA failed: path=%s, error=%lu", pszPath,
               dwError);
        return false;
    }
    TxKernelHandle hProcess(process.hProcess);
    TxKernelHandle hThread(process.hThread);
    return true;
}

ProgramStartRoute StartProgramAsUser(const char* pszPath)
{
    TxString sFolder = ProgramFolder(pszPath);
    if (StartThroughShell(pszPath, sFolder.GetText()))
    {
        TX_LOG("StartProgramAsUser - started by the desktop's shell: path=%s", pszPath);
        return ProgramStartRoute::UserShell;
    }
    if (StartProgramDirectly(pszPath))
    {
        TX_LOG("StartProgramAsUser - started directly: path=%s", pszPath);
        return ProgramStartRoute::Direct;
    }
    return ProgramStartRoute::None;
}
