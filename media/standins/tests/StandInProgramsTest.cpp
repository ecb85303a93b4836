#include "AgentCloseRequest.h"
#include "MessagePump.h"
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

// Starts a stand-in from beside the test (or from a full path).
bool StartProgram(ProcessTree& program, const char* pszName, const char* pszArguments)
{
    return program.Start(
        CommandLine(std::strchr(pszName, '\\') ? pszName : BesideTest(pszName), pszArguments));
}

// The top-level window of that title of a process of the tree, once shown.
HWND WaitForWindow(const ProcessTree& program, const char* pszTitle)
{
    return WaitForTitledWindow(pszTitle, [&program](HWND hWnd) { return program.Owns(hWnd); });
}

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
    ProcessTree agent;
    ASSERT_TRUE(StartProgram(agent, "QvAgent.exe", "/r"));
    ASSERT_TRUE(WaitForAgentEvent());
    EXPECT_FALSE(agent.WaitForExit(200));
    // What the setup does: open for EVENT_MODIFY_STATE only, set, close.
    {
        TxKernelHandle event(OpenEventA(EVENT_MODIFY_STATE, FALSE, AGENT_CLOSE_EVENT));
        ASSERT_TRUE(event.IsValid());
        ASSERT_TRUE(SetEvent(event.Get()));
    }
    EXPECT_TRUE(agent.WaitForExit(SETUP_CLOSE_LIMIT_MS));
    EXPECT_EQ(agent.ExitCode(), 0u);
}

TEST(StandInAgent, ASecondAgentLeavesTheFirstRunning)
{
    ProcessTree first;
    ASSERT_TRUE(StartProgram(first, "QvAgent.exe", "/r"));
    ASSERT_TRUE(WaitForAgentEvent());
    ProcessTree second;
    ASSERT_TRUE(StartProgram(second, "QvAgent.exe", "/r"));
    EXPECT_TRUE(second.WaitForExit(START_TIMEOUT_MS));
    EXPECT_TRUE(first.IsRunning());
    EXPECT_EQ(RequestAgentClose(SETUP_CLOSE_LIMIT_MS), AgentCloseResult::Closed);
    EXPECT_TRUE(first.WaitForExit(SETUP_CLOSE_LIMIT_MS));
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
    ASSERT_TRUE(WriteRegValue(LANGUAGE_REG_KEY, "LangId", RegValue::Dword(7)));
    ProcessTree manager;
    ASSERT_TRUE(StartProgram(manager, "QvManag.exe", ""));
    HWND hWnd = WaitForWindow(manager, "Quorvane Manager (stand-in)");
    std::string sText = ChildText(hWnd, "EDIT");
    DeleteProductKey();
    ASSERT_NE(hWnd, nullptr);
    EXPECT_NE(sText.find("Language: Deutsch"), std::string::npos) << sText;
    EXPECT_NE(sText.find("LangEName: GERMAN"), std::string::npos) << sText;
    EXPECT_NE(sText.find("LangId: 7 (0x0007)"), std::string::npos) << sText;
    PostMessageA(hWnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(manager.WaitForExit(START_TIMEOUT_MS));
}

TEST(StandInScreenSaver, RunsWithSAndEndsOnAKey)
{
    ProcessTree saver;
    ASSERT_TRUE(StartProgram(saver, "Quorvane.scr", "/s"));
    HWND hWnd = WaitForWindow(saver, "Quorvane screen saver (stand-in)");
    ASSERT_NE(hWnd, nullptr);
    PostMessageA(hWnd, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_TRUE(saver.WaitForExit(START_TIMEOUT_MS));
}

TEST(StandInScreenSaver, EndsAtOnceForSettingsAndPreview)
{
    for (const char* pszArguments : {"", "/c", "/c:1234", "/p 1234"})
    {
        SCOPED_TRACE(pszArguments);
        ProcessTree saver;
        ASSERT_TRUE(StartProgram(saver, "Quorvane.scr", pszArguments));
        EXPECT_TRUE(saver.WaitForExit(START_TIMEOUT_MS));
        EXPECT_EQ(saver.ExitCode(), 0u);
    }
}

// The uninstaller copied into a folder of its own. Its quiet run as
// installed (removing the installation, itself and its folder, leaving only
// its temporary copy to the restart) is the end-to-end uninstall test's
// (UninstallTest).
class StandInUninstallerRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CopyFileA(BesideTest("Uninstall.exe").c_str(), m_sSelf.c_str(), FALSE));
    }

    // Starts it with its window over a log that names one file; the window.
    HWND StartWindowed()
    {
        EXPECT_TRUE(WriteWholeFile(m_Root / "QvApi.dll", "x"));
        EXPECT_TRUE(
            WriteWholeFile(m_Root / "Install.log", "S_PRGFILE " + (m_Root / "QvApi.dll") + "\r\n"));
        EXPECT_TRUE(m_Uninstaller.Start(CommandLine(m_sSelf)));
        return WaitForWindow(m_Uninstaller, "Quorvane Uninstall Program (stand-in)");
    }

    PendingRemovalsGuard m_Pending;
    TempFolder m_Root;
    std::string m_sSelf = m_Root / "Uninstall.exe";
    ProcessTree m_Uninstaller;
};

TEST_F(StandInUninstallerRun, ShowsItsReportInItsWindow)
{
    HWND hWnd = StartWindowed();
    ASSERT_NE(hWnd, nullptr);
    // The window may be found before its buttons are made.
    HWND hStart = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (hStart = FindWindowExA(hWnd, nullptr, "BUTTON", "Start")) != nullptr; },
        START_TIMEOUT_MS));
    DWORD_PTR dwResult = 0;
    SendMessageTimeoutA(hStart, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, START_TIMEOUT_MS, &dwResult);
    std::string sReport = ChildText(hWnd, "EDIT");
    EXPECT_NE(sReport.find("Deleted file " + (m_Root / "QvApi.dll") + "\r\n"), std::string::npos)
        << sReport;
    EXPECT_NE(sReport.find("Uninstallation Complete"), std::string::npos) << sReport;
    HWND hClose = FindWindowExA(hWnd, nullptr, "BUTTON", "Close");
    ASSERT_NE(hClose, nullptr);
    PostMessageA(hClose, BM_CLICK, 0, 0);
    ASSERT_TRUE(m_Uninstaller.WaitForAll(START_TIMEOUT_MS));
    EXPECT_EQ(m_Uninstaller.LastExitCode(), 0u);
    EXPECT_FALSE(PathExists(m_Root / "QvApi.dll"));
}

// Closed before Start: nothing removed, and the caller reads a cancel.
TEST_F(StandInUninstallerRun, WindowClosedWithoutStartingEndsWith1602)
{
    HWND hWnd = StartWindowed();
    ASSERT_NE(hWnd, nullptr);
    PostMessageA(hWnd, WM_CLOSE, 0, 0);
    ASSERT_TRUE(m_Uninstaller.WaitForAll(START_TIMEOUT_MS));
    EXPECT_EQ(m_Uninstaller.LastExitCode(), 1602u);
    EXPECT_TRUE(PathExists(m_Root / "QvApi.dll"));
}

TEST_F(StandInUninstallerRun, QuietRunWithoutLogDoesNothing)
{
    ASSERT_TRUE(m_Uninstaller.Start(CommandLine(m_sSelf, "/q")));
    ASSERT_TRUE(m_Uninstaller.WaitForAll(START_TIMEOUT_MS));
    EXPECT_EQ(m_Uninstaller.LastExitCode(), 1603u);
    EXPECT_TRUE(PathExists(m_sSelf));
}
} // namespace
