#include "TxApplication.h"

#include "CLog.h"
#include "TxForm.h"

#include <algorithm>
#include <commctrl.h>

TxApplication Application;

TxApplication::TxApplication() : m_pMainForm(nullptr), m_bTerminated(false) {}

bool TxApplication::Initialize()
{
    INITCOMMONCONTROLSEX icc = {};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_STANDARD_CLASSES | ICC_TREEVIEW_CLASSES | ICC_PROGRESS_CLASS |
                ICC_UPDOWN_CLASS | ICC_WIN95_CLASSES;
    if (!InitCommonControlsEx(&icc))
    {
        TX_LOG("TxApplication::Initialize - InitCommonControlsEx failed");
        return false;
    }
    return true;
}

int TxApplication::Run(TxForm& mainForm)
{
    m_pMainForm = &mainForm;
    mainForm.Show();
    MSG msg = {};
    for (;;)
    {
        BOOL bResult = GetMessageA(&msg, nullptr, 0, 0);
        if (bResult == 0)
            break;
        if (bResult == -1)
        {
            TX_LOG("TxApplication::Run - GetMessageA failed: error=%lu", GetLastError());
            return 1;
        }
        Dispatch(msg);
    }
    return static_cast<int>(msg.wParam);
}

void TxApplication::Terminate()
{
    m_bTerminated = true;
    PostQuitMessage(0);
}

void TxApplication::ProcessMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        if (msg.message == WM_QUIT)
        {
            // Leave the quit to the outer loop that owns it.
            m_bTerminated = true;
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        Dispatch(msg);
    }
}

void TxApplication::Dispatch(MSG& msg)
{
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && msg.hwnd != nullptr)
    {
        HWND hRoot = GetAncestor(msg.hwnd, GA_ROOT);
        if (IsFormWindow(hRoot) && IsDialogMessageA(hRoot, &msg))
            return;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

HWND TxApplication::ActiveOwner() const
{
    if (!m_Modal.empty())
        return m_Modal.back()->Handle();
    return m_pMainForm != nullptr ? m_pMainForm->Handle() : nullptr;
}

void TxApplication::PopModal()
{
    if (!m_Modal.empty())
        m_Modal.pop_back();
}

void TxApplication::ShowException(const std::exception& e)
{
    TX_LOG("TxApplication::ShowException - %s", e.what());
    MessageBoxA(ActiveOwner(), e.what(), m_sTitle.GetText(), MB_OK | MB_ICONSTOP);
}

void TxApplication::RemoveForm(TxForm* pForm)
{
    m_Forms.erase(std::remove(m_Forms.begin(), m_Forms.end(), pForm), m_Forms.end());
    m_Modal.erase(std::remove(m_Modal.begin(), m_Modal.end(), pForm), m_Modal.end());
    if (m_pMainForm == pForm)
        m_pMainForm = nullptr;
}

bool TxApplication::IsFormWindow(HWND hWnd) const
{
    for (const TxForm* pForm : m_Forms)
        if (pForm->Handle() == hWnd)
            return true;
    return false;
}
