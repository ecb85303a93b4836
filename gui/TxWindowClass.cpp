#include "TxWindowClass.h"

#include "CLog.h"

TxWindowClass::TxWindowClass(const char* pszName, WNDPROC pfnProc) : m_pszName(pszName), m_Atom(0)
{
    HINSTANCE hInstance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = pfnProc;
    wc.hInstance = hInstance;
    wc.hIcon = LoadIconA(hInstance, MAKEINTRESOURCEA(1));
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = pszName;
    m_Atom = RegisterClassExA(&wc);
    if (m_Atom == 0)
        TX_LOG("TxWindowClass::TxWindowClass - RegisterClassExA failed: name=%s, error=%lu",
               pszName, GetLastError());
}

TxWindowClass::~TxWindowClass()
{
    if (m_Atom != 0)
        UnregisterClassA(m_pszName, GetModuleHandleA(nullptr));
}
