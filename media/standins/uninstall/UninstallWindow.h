#pragma once

#include "UninstallPlan.h"
#include "UninstallTexts.h"

#include <windows.h>

// The uninstaller's window: its purpose, Start and Cancel, and the report of
// every action once started. The removal itself is UninstallPlan's.
class UninstallWindow : public IUninstallReport
{
public:
    UninstallWindow(const UninstallTexts& texts, const TxString& sLogPath,
                    const TxString& sSelfPath);
    UninstallWindow(const UninstallWindow&) = delete;
    UninstallWindow& operator=(const UninstallWindow&) = delete;

    bool Create(HINSTANCE hInstance, int nCmdShow);
    // Valid after Start was pressed.
    const UninstallOutcome& Outcome() const { return m_Outcome; }
    bool WasStarted() const { return m_bStarted; }

    void ReportLine(const TxString& sLine) override;

    // Called by the window procedure for every message.
    LRESULT HandleMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

private:
    bool FormCreate(HWND hWnd);
    void FormResize(int cx, int cy);
    void ButtonStartClick();
    void ButtonCancelClick();
    HWND AddControl(HWND hParent, const char* pszClass, const char* pszText, DWORD dwStyle,
                    int iId);

    UninstallTexts m_Texts;
    TxString m_sLogPath;
    TxString m_sSelfPath;
    UninstallOutcome m_Outcome;
    bool m_bStarted;
    HWND m_hWnd;
    HWND m_hLabelUsage;
    HWND m_hMemoReport;
    HWND m_hButtonStart;
    HWND m_hButtonCancel;
};
