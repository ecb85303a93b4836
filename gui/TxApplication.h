#pragma once

#include "TxString.h"

#include <exception>
#include <vector>
#include <windows.h>

class TxForm;

// The GUI application: its title, the message loop, the stack of modal
// forms and the standard box for an exception that reaches a handler.
class TxApplication
{
public:
    TxApplication();

    // Registers the common control classes the forms use; false on failure.
    bool Initialize();
    void SetTitle(const char* pszTitle) { m_sTitle = pszTitle; }
    const TxString& Title() const { return m_sTitle; }

    // Shows the main form and runs the message loop until Terminate.
    // Returns the exit code of the quit message.
    int Run(TxForm& mainForm);
    // Ends the message loop (and any modal loop) at its next turn.
    void Terminate();
    bool IsTerminated() const { return m_bTerminated; }
    TxForm* MainForm() const { return m_pMainForm; }

    // Handles every pending message once and returns.
    void ProcessMessages();
    // Translates and dispatches one message; keyboard messages go through
    // the dialog navigation of their top-level form.
    void Dispatch(MSG& msg);

    // Message boxes and newly shown modal forms belong to this window:
    // the innermost modal form, else the main form.
    HWND ActiveOwner() const;
    TxForm* ModalForm() const { return m_Modal.empty() ? nullptr : m_Modal.back(); }
    void PushModal(TxForm* pForm) { m_Modal.push_back(pForm); }
    void PopModal();

    // The standard exception box: the message, the title as caption, OK.
    void ShowException(const std::exception& e);

    void AddForm(TxForm* pForm) { m_Forms.push_back(pForm); }
    void RemoveForm(TxForm* pForm);

private:
    bool IsFormWindow(HWND hWnd) const;

    TxString m_sTitle;
    TxForm* m_pMainForm;
    std::vector<TxForm*> m_Modal;
    std::vector<TxForm*> m_Forms;
    bool m_bTerminated;
};

extern TxApplication Application;
