#include "AgentCloseRequest.h"
#include "ProcessTree.h"
#include "ProductNames.h"
#include "StandInTestSupport.h"
#include "TxHandles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <windows.h>

namespace
{
constexpr DWORD START_TIMEOUT_MS = 10000;
constexpr DWORD SETUP_CLOSE_LIMIT_MS = 2000;

struct WindowSearch
{
    const char* pszTitle;
    std::function<bool(HWND)> owned;
    HWND hFound;
};

// EnumWindows callback: stdcall on i686, so a named function, not a lambda.
BOOL CALLBACK FindTitledWindow(HWND hWnd, LPARAM lParam)
{
    auto* p = reinterpret_cast<WindowSearch*>(lParam);
    char szTitle[256] = "";
    GetWindowTextA(hWnd, szTitle, sizeof(szTitle));
    if (std::string(szTitle) != p->pszTitle || !p->owned(hWnd))
        return TRUE;
    p->hFound = hWnd;
    return FALSE;
}

// The top-level window of that title that `owned` accepts, once there is one.
HWND WaitForTitledWindow(const char* pszTitle, const std::function<bool(HWND)>& owned)
{
    WindowSearch search = {pszTitle, owned, nullptr};
    for (DWORD dwWaited = 0; dwWaited < START_TIMEOUT_MS; dwWaited += 50)
    {
        EnumWindows(FindTitledWindow, reinterpret_cast<LPARAM>(&search));
        if (search.hFound != nullptr)
            return search.hFound;
        Sleep(50);
    }
    return nullptr;
}

// A stand-in program started from beside the test; killed if still running
// when the object goes, so that a failed test leaves no process behind.
class Program
{
public:
    Program(const char* pszName, const char* pszArguments)
    {
        std::string sPath = std::strchr(pszName, '\\') ? pszName : BesideTest(pszName);
        std::string sCommand = "\"" + sPath + "\" " + pszArguments;
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi = {};
        if (!CreateProcessA(nullptr, &sCommand[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &si, &pi))
            return;
        m_Process.Reset(pi.hProcess);
        TxKernelHandle thread(pi.hThread);
        m_dwId = pi.dwProcessId;
    }
    ~Program()
    {
        if (m_Process.IsValid() && !Ended(0))
            TerminateProcess(m_Process.Get(), 99);
    }
    bool IsStarted() const { return m_Process.IsValid(); }
    bool Ended(DWORD dwMs) const
    {
        return WaitForSingleObject(m_Process.Get(), dwMs) == WAIT_OBJECT_0;
    }
    DWORD ExitCode() const
    {
        DWORD dwCode = 0;
        GetExitCodeProcess(m_Process.Get(), &dwCode);
        return dwCode;
    }
    // The program's top-level window of that title, once it has one.
    HWND WaitForWindow(const char* pszTitle) const
    {
        return WaitForTitledWindow(pszTitle,
                                   [this](HWND hWnd)
                                   {
                                       DWORD dwId = 0;
                                       GetWindowThreadProcessId(hWnd, &dwId);
                                       return dwId == m_dwId;
                                   });
    }

private:
    TxKernelHandle m_Process;
    DWORD m_dwId = 0;
};

bool WaitForAgentEvent()
{
    for (DWORD dwWaited = 0; dwWaited < START_TIMEOUT_MS; dwWaited += 20)
    {
        if (AgentEventExists())
            return true;
        Sleep(20);
    }
    return false;
}

std::string ChildText(HWND hParent, const char* pszClass)
{
    HWND hChild = FindWindowExA(hParent, nullptr, pszClass, nullptr);
    char szText[4096] = "";
    DWORD_PTR dwResult = 0;
    // GetWindowText does not ask a control of another process for its text.
    if (hChild != nullptr)
        SendMessageTimeoutA(hChild, WM_GETTEXT, sizeof(szText), reinterpret_cast<LPARAM>(szText),
                            SMTO_ABORTIFHUNG, START_TIMEOUT_MS, &dwResult);
    return szText;
}

TEST(StandInAgent, ExitsOnTheSetupsCloseRequest)
{
    Program agent("QvAgent.exe", "/r");
    ASSERT_TRUE(agent.IsStarted());
    ASSERT_TRUE(WaitForAgentEvent());
    EXPECT_FALSE(agent.Ended(200));
    // What the setup does: open for EVENT_MODIFY_STATE only, set, close.
    {
        TxKernelHandle event(OpenEventA(EVENT_MODIFY_STATE, FALSE, AGENT_CLOSE_EVENT));
        ASSERT_TRUE(event.IsValid());
        ASSERT_TRUE(SetEvent(event.Get()));
    }
    EXPECT_TRUE(agent.Ended(SETUP_CLOSE_LIMIT_MS));
    EXPECT_EQ(agent.ExitCode(), 0u);
}

TEST(StandInAgent, ASecondAgentLeavesTheFirstRunning)
{
    Program first("QvAgent.exe", "/r");
    ASSERT_TRUE(WaitForAgentEvent());
    Program second("QvAgent.exe", "/r");
    ASSERT_TRUE(second.IsStarted());
    EXPECT_TRUE(second.Ended(START_TIMEOUT_MS));
    EXPECT_FALSE(first.Ended(0));
    EXPECT_EQ(RequestAgentClose(SETUP_CLOSE_LIMIT_MS), AgentCloseResult::Closed);
    EXPECT_TRUE(first.Ended(SETUP_CLOSE_LIMIT_MS));
    EXPECT_EQ(RequestAgentClose(0), AgentCloseResult::NoAgent);
}

TEST(StandInLibraries, LoadAndAnswer)
{
    struct Case
    {
        const char* pszFile;
        const char* pszFunction;
    };
    for (const Case& c : {Case{"QvApi.dll", "QvApiVersion"}, Case{"QvImage.dll", "QvImageVersion"}})
    {
        SCOPED_TRACE(c.pszFile);
        TxModule module(LoadLibraryA(BesideTest(c.pszFile).c_str()));
        ASSERT_TRUE(module.IsValid());
        auto pFunction = reinterpret_cast<int (*)()>(
            reinterpret_cast<void*>(GetProcAddress(module.Get(), c.pszFunction)));
        ASSERT_NE(pFunction, nullptr);
        EXPECT_EQ(pFunction(), 104);
    }
}

TEST(StandInManager, ShowsTheLanguageTheSetupRecorded)
{
    ASSERT_TRUE(SetRegString(LANGUAGE_REG_KEY, "Language", "Deutsch"));
    ASSERT_TRUE(SetRegString(LANGUAGE_REG_KEY, "LangEName", "GERMAN"));
    DWORD dwId = 7;
    {
        TxRegKey key;
        ASSERT_EQ(
            RegOpenKeyExA(HKEY_LOCAL_MACHINE, LANGUAGE_REG_KEY, 0, KEY_SET_VALUE, key.Receive()),
            ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(key.Get(), "LangId", 0, REG_DWORD,
                                 reinterpret_cast<const BYTE*>(&dwId), sizeof(dwId)),
                  ERROR_SUCCESS);
    }
    Program manager("QvManag.exe", "");
    HWND hWnd = manager.WaitForWindow("Quorvane Manager (stand-in)");
    std::string sText = ChildText(hWnd, "EDIT");
    DeleteProductKey();
    ASSERT_NE(hWnd, nullptr);
    EXPECT_NE(sText.find("Language: Deutsch"), std::string::npos) << sText;
    EXPECT_NE(sText.find("LangEName: GERMAN"), std::string::npos) << sText;
    EXPECT_NE(sText.find("LangId: 7 (0x0007)"), std::string::npos) << sText;
    PostMessageA(hWnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(manager.Ended(START_TIMEOUT_MS));
}

TEST(StandInScreenSaver, RunsWithSAndEndsOnAKey)
{
    Program saver("Quorvane.scr", "/s");
    HWND hWnd = saver.WaitForWindow("Quorvane screen saver (stand-in)");
    ASSERT_NE(hWnd, nullptr);
    PostMessageA(hWnd, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_TRUE(saver.Ended(START_TIMEOUT_MS));
}

TEST(StandInScreenSaver, EndsAtOnceForSettingsAndPreview)
{
    for (const char* pszArguments : {"", "/c", "/c:1234", "/p 1234"})
    {
        SCOPED_TRACE(pszArguments);
        Program saver("Quorvane.scr", pszArguments);
        ASSERT_TRUE(saver.IsStarted());
        EXPECT_TRUE(saver.Ended(START_TIMEOUT_MS));
        EXPECT_EQ(saver.ExitCode(), 0u);
    }
}

// The uninstaller hands its work to a copy of itself: a run ends when the
// whole tree of processes has.
class Uninstaller
{
public:
    Uninstaller(const std::string& sSelf, const char* pszArguments)
    {
        m_bStarted = m_Tree.Start("\"" + sSelf + "\" " + pszArguments, "");
    }
    bool IsStarted() const { return m_bStarted; }
    bool Ended() { return m_Tree.WaitForAll(START_TIMEOUT_MS); }
    DWORD ExitCode() const { return m_Tree.LastExitCode(); }
    // The top-level window of that title of one of its processes, once shown.
    HWND WaitForWindow(const char* pszTitle) const
    {
        return WaitForTitledWindow(pszTitle, [this](HWND hWnd) { return m_Tree.Owns(hWnd); });
    }

private:
    ProcessTree m_Tree;
    bool m_bStarted;
};

// The removal at the next start holds the uninstaller's temporary copy and
// its folder, in that order, and nothing of the installation.
void ExpectOnlyTheCopyPending(const std::string& sInstalled)
{
    std::string sPending = PendingRemovalsGuard::Current();
    size_t iCopy = sPending.find("\\QvUninstall.");
    ASSERT_NE(iCopy, std::string::npos) << "the temporary copy is not left to the restart";
    EXPECT_NE(sPending.find("\\Uninstall.exe", iCopy), std::string::npos);
    EXPECT_EQ(sPending.find(sInstalled), std::string::npos)
        << sInstalled << " is left to the restart";
}

// The uninstaller program as installed: beside its log, in a folder the
// installation made, removing itself and that folder.
TEST(StandInUninstaller, QuietRunRemovesTheInstallationAndItself)
{
    PendingRemovalsGuard pending;
    TempFolder root;
    std::string sPrg = root / "Prg";
    std::string sSelf = sPrg + "\\Uninstall.exe";
    ASSERT_TRUE(CreateDirectoryA(sPrg.c_str(), nullptr));
    ASSERT_TRUE(CopyFileA(BesideTest("Uninstall.exe").c_str(), sSelf.c_str(), FALSE));
    ASSERT_TRUE(WriteWholeFile(sPrg + "\\QvApi.dll", "x"));
    ASSERT_TRUE(WriteWholeFile(sPrg + "\\Install.log",
                               "S_FOLDER_ " + sPrg + "\r\nS_PRGFILE " + sPrg +
                                   "\\QvApi.dll\r\nS_PRGFILE " + sSelf + "\r\nS_PRGFILE " + sPrg +
                                   "\\Install.log\r\nS_TIME___ 05.03.2004 09:07\r\n\r\n"));
    Uninstaller uninstaller(sSelf, "/quiet");
    ASSERT_TRUE(uninstaller.IsStarted());
    ASSERT_TRUE(uninstaller.Ended());
    EXPECT_EQ(uninstaller.ExitCode(), 0u);
    EXPECT_FALSE(PathExists(sPrg));
    ExpectOnlyTheCopyPending(sPrg);
}

// A copy of the uninstaller in root whose log records one file, QvApi.dll.
void CopyWithOneRecordedFile(const TempFolder& root)
{
    ASSERT_TRUE(
        CopyFileA(BesideTest("Uninstall.exe").c_str(), (root / "Uninstall.exe").c_str(), FALSE));
    ASSERT_TRUE(WriteWholeFile(root / "QvApi.dll", "x"));
    ASSERT_TRUE(WriteWholeFile(root / "Install.log", "S_PRGFILE " + (root / "QvApi.dll") + "\r\n"));
}

TEST(StandInUninstaller, ShowsItsReportInItsWindow)
{
    PendingRemovalsGuard pending;
    TempFolder root;
    ASSERT_NO_FATAL_FAILURE(CopyWithOneRecordedFile(root));
    Uninstaller uninstaller(root / "Uninstall.exe", "");
    HWND hWnd = uninstaller.WaitForWindow("Quorvane Uninstall Program (stand-in)");
    ASSERT_NE(hWnd, nullptr);
    // The window may be found before its buttons are made.
    HWND hStart = nullptr;
    for (DWORD dwWaited = 0; hStart == nullptr && dwWaited < START_TIMEOUT_MS; dwWaited += 50)
    {
        hStart = FindWindowExA(hWnd, nullptr, "BUTTON", "Start");
        if (hStart == nullptr)
            Sleep(50);
    }
    ASSERT_NE(hStart, nullptr);
    DWORD_PTR dwResult = 0;
    SendMessageTimeoutA(hStart, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, START_TIMEOUT_MS, &dwResult);
    std::string sReport = ChildText(hWnd, "EDIT");
    EXPECT_NE(sReport.find("Deleted file " + (root / "QvApi.dll") + "\r\n"), std::string::npos)
        << sReport;
    EXPECT_NE(sReport.find("Uninstallation Complete"), std::string::npos) << sReport;
    HWND hClose = FindWindowExA(hWnd, nullptr, "BUTTON", "Close");
    ASSERT_NE(hClose, nullptr);
    PostMessageA(hClose, BM_CLICK, 0, 0);
    ASSERT_TRUE(uninstaller.Ended());
    EXPECT_EQ(uninstaller.ExitCode(), 0u);
    EXPECT_FALSE(PathExists(root / "QvApi.dll"));
}

// Closed before Start: nothing removed, and the caller reads a cancel.
TEST(StandInUninstaller, WindowClosedWithoutStartingEndsWith1602)
{
    PendingRemovalsGuard pending;
    TempFolder root;
    ASSERT_NO_FATAL_FAILURE(CopyWithOneRecordedFile(root));
    Uninstaller uninstaller(root / "Uninstall.exe", "");
    HWND hWnd = uninstaller.WaitForWindow("Quorvane Uninstall Program (stand-in)");
    ASSERT_NE(hWnd, nullptr);
    PostMessageA(hWnd, WM_CLOSE, 0, 0);
    ASSERT_TRUE(uninstaller.Ended());
    EXPECT_EQ(uninstaller.ExitCode(), 1602u);
    EXPECT_TRUE(PathExists(root / "QvApi.dll"));
}

TEST(StandInUninstaller, QuietRunWithoutLogDoesNothing)
{
    PendingRemovalsGuard pending;
    TempFolder root;
    std::string sSelf = root / "Uninstall.exe";
    ASSERT_TRUE(CopyFileA(BesideTest("Uninstall.exe").c_str(), sSelf.c_str(), FALSE));
    Uninstaller uninstaller(sSelf, "/q");
    ASSERT_TRUE(uninstaller.Ended());
    EXPECT_EQ(uninstaller.ExitCode(), 1603u);
    EXPECT_TRUE(PathExists(sSelf));
}
} // namespace
