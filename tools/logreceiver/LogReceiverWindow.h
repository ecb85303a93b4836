#pragma once

#include <functional>
#include <string>
#include <windows.h>

// The window the diagnostic log sends its lines to (LOG_RECEIVER_CLASS,
// LOG_RECEIVER_TITLE). Each WM_COPYDATA carries one line with its
// terminating zero. The receiver program shows the lines; tests use the same
// window to collect them.
class LogReceiverWindow
{
public:
    // Called with the line's bytes as received (cbData bytes, zero included).
    using LineHandler = std::function<void(const std::string& data)>;

    explicit LogReceiverWindow(LineHandler handler);
    ~LogReceiverWindow();
    LogReceiverWindow(const LogReceiverWindow&) = delete;
    LogReceiverWindow& operator=(const LogReceiverWindow&) = delete;

    // Creates the window, hidden unless bVisible; with bShowList it shows
    // every received line in a scrolling list. False on failure.
    bool Create(bool bVisible, bool bShowList);
    HWND Handle() const { return m_hWnd; }

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    LRESULT OnCopyData(const COPYDATASTRUCT* pData);
    void AddToList(const std::string& line);

    static constexpr int kMaxListLines = 100000;

    LineHandler m_Handler;
    HWND m_hWnd;
    HWND m_hList;
};
