#pragma once

#include "TxString.h"

#include <windows.h>

// The manager stand-in's only window: a read-only text and an OK button.
class ManagerWindow
{
public:
    ManagerWindow(const TxString& sText, const TxString& sOk);
    ManagerWindow(const ManagerWindow&) = delete;
    ManagerWindow& operator=(const ManagerWindow&) = delete;

    // Creates and shows the window; false when the system refused.
    bool Create(HINSTANCE hInstance, int nCmdShow);

    // Called by the window procedure for every message.
    LRESULT HandleMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

private:
    bool FormCreate(HWND hWnd);
    void FormResize(int cx, int cy);
    void ButtonOkClick();

    TxString m_sText;
    TxString m_sOk;
    HWND m_hWnd;
    HWND m_hMemo;
    HWND m_hButtonOk;
};
