#include "UninstallWindow.h"

#include "WindowSupport.h"

namespace
{
constexpr char WINDOW_CLASS[] = "QvUninstallStandIn";
constexpr int ID_BUTTON_START = 1;
constexpr int ID_BUTTON_CANCEL = 2;
constexpr int MARGIN = 10;
constexpr int LABEL_HEIGHT = 36;
constexpr int BUTTON_WIDTH = 90;
constexpr int BUTTON_HEIGHT = 26;
} // namespace

UninstallWindow::UninstallWindow(const UninstallTexts& texts, const TxString& sLogPath,
                                 const TxString& sSelfPath)
    : m_Texts(texts), m_sLogPath(sLogPath), m_sSelfPath(sSelfPath), m_bStarted(false),
      m_hWnd(nullptr), m_hLabelUsage(nullptr), m_hMemoReport(nullptr), m_hButtonStart(nullptr),
      m_hButtonCancel(nullptr)
{
}

bool UninstallWindow::Create(HINSTANCE hInstance, int nCmdShow)
{
    TxString sTitle(m_Texts.Text(GLU_CAPTION));
    sTitle.Append(" (stand-in)");
    return RegisterWindowClass(hInstance, WINDOW_CLASS, ObjectWindowProc<UninstallWindow>,
                               reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                               LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW))) &&
           CreateMainWindow(hInstance, WINDOW_CLASS, sTitle.GetText(), 600, 420, nCmdShow, this,
                            m_hWnd);
}

void UninstallWindow::ReportLine(const TxString& sLine)
{
    int iEnd = GetWindowTextLengthA(m_hMemoReport);
    SendMessageA(m_hMemoReport, EM_SETSEL, iEnd, iEnd);
    TxString sText(sLine);
    sText.Append("\r\n");
    SendMessageA(m_hMemoReport, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(sText.GetText()));
    // The removal runs on this thread: show each line as it comes.
    UpdateWindow(m_hMemoReport);
}

LRESULT UninstallWindow::HandleMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
    case WM_CREATE:
        return FormCreate(hWnd) ? 0 : -1;
    case WM_SIZE:
        FormResize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == ID_BUTTON_START)
            ButtonStartClick();
        else if (LOWORD(wParam) == ID_BUTTON_CANCEL)
            ButtonCancelClick();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    }
}

HWND UninstallWindow::AddControl(HWND hParent, const char* pszClass, const char* pszText,
                                 DWORD dwStyle, int iId)
{
    HINSTANCE hInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hParent, GWLP_HINSTANCE));
    DWORD dwExStyle = iId == 0 && dwStyle & ES_MULTILINE ? WS_EX_CLIENTEDGE : 0;
    HWND hControl = CreateWindowExA(
        dwExStyle, pszClass, pszText, WS_CHILD | WS_VISIBLE | dwStyle, 0, 0, 0, 0, hParent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(iId)), hInstance, nullptr);
    if (hControl != nullptr)
        UseDialogFont(hControl);
    return hControl;
}

bool UninstallWindow::FormCreate(HWND hWnd)
{
    m_hWnd = hWnd;
    m_hLabelUsage = AddControl(hWnd, "STATIC", m_Texts.Text(GLU_USAGE).GetText(), 0, 0);
    m_hMemoReport = AddControl(
        hWnd, "EDIT", "",
        WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL, 0);
    m_hButtonStart = AddControl(hWnd, "BUTTON", m_Texts.Text(GLU_START).GetText(),
                                WS_TABSTOP | BS_DEFPUSHBUTTON, ID_BUTTON_START);
    m_hButtonCancel = AddControl(hWnd, "BUTTON", m_Texts.Text(GLU_CANCEL).GetText(),
                                 WS_TABSTOP | BS_PUSHBUTTON, ID_BUTTON_CANCEL);
    return m_hLabelUsage != nullptr && m_hMemoReport != nullptr && m_hButtonStart != nullptr &&
           m_hButtonCancel != nullptr;
}

void UninstallWindow::FormResize(int cx, int cy)
{
    int iWidth = cx - 2 * MARGIN;
    int iMemoTop = 2 * MARGIN + LABEL_HEIGHT;
    int iMemoHeight = cy - iMemoTop - 2 * MARGIN - BUTTON_HEIGHT;
    int iButtonTop = cy - MARGIN - BUTTON_HEIGHT;
    MoveWindow(m_hLabelUsage, MARGIN, MARGIN, iWidth, LABEL_HEIGHT, TRUE);
    MoveWindow(m_hMemoReport, MARGIN, iMemoTop, iWidth, iMemoHeight > 0 ? iMemoHeight : 0, TRUE);
    MoveWindow(m_hButtonCancel, cx - MARGIN - BUTTON_WIDTH, iButtonTop, BUTTON_WIDTH, BUTTON_HEIGHT,
               TRUE);
    MoveWindow(m_hButtonStart, cx - 2 * (MARGIN + BUTTON_WIDTH), iButtonTop, BUTTON_WIDTH,
               BUTTON_HEIGHT, TRUE);
}

void UninstallWindow::ButtonStartClick()
{
    if (m_bStarted)
        return;
    m_bStarted = true;
    EnableWindow(m_hButtonStart, FALSE);
    EnableWindow(m_hButtonCancel, FALSE);
    UninstallPlan plan(m_Texts, *this);
    plan.SetSelfPath(m_sSelfPath.GetText());
    m_Outcome = plan.Run(m_sLogPath.GetText());
    // Nothing is left to cancel: the one button left closes the window.
    SetWindowTextA(m_hButtonCancel, m_Texts.Text(GLU_CLOSE).GetText());
    EnableWindow(m_hButtonCancel, TRUE);
    SetFocus(m_hButtonCancel);
}

void UninstallWindow::ButtonCancelClick()
{
    DestroyWindow(m_hWnd);
}
