#pragma once

#include <windows.h>

// One registered window class, unregistered again when the object ends.
class TxWindowClass
{
public:
    // Registers pszName with the procedure and the dialog background; the
    // icon is resource 1 of the program when it has one.
    TxWindowClass(const char* pszName, WNDPROC pfnProc);
    ~TxWindowClass();
    TxWindowClass(const TxWindowClass&) = delete;
    TxWindowClass& operator=(const TxWindowClass&) = delete;

    bool IsRegistered() const { return m_Atom != 0; }
    const char* Name() const { return m_pszName; }

private:
    const char* m_pszName;
    ATOM m_Atom;
};
