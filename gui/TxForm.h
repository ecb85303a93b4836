#pragma once

#include "TxWindowClass.h"
#include "TxString.h"

#include <vector>
#include <windows.h>

class TxControl;
class TxButton;
class TxFont;

// Modal results, the values of the system's dialog results.
constexpr int MR_NONE = 0;
constexpr int MR_OK = IDOK;
constexpr int MR_CANCEL = IDCANCEL;

enum class TxBorder
{
    Main,       // fixed frame, title bar, system menu, shown in the task bar
    Dialog,     // fixed dialog frame, title bar without buttons
    Sizeable,   // sizing frame, title bar with the close button
    ToolWindow, // small title bar without buttons
};

// A top-level window of its own class, holding child controls. Its window
// procedure dispatches to the named handlers of the derived form; the state
// is reached from the window through the user data pointer. Positions and
// sizes are 96-DPI values (TxDpi.h) except in the members whose names end in
// Px.
//
// The form places its controls from their design rectangles and fits them
// to their texts (TxFormLayout.h): once when it is shown, and after each
// message to it whose handling changed a control's text, visibility or
// place, or the form's size.
class TxForm
{
public:
    // Registers pszClassName and creates the hidden window with the given
    // client size. Throws ExNormal when the window cannot be made.
    TxForm(const char* pszClassName, TxBorder border, int iClientWidth, int iClientHeight);
    virtual ~TxForm();
    TxForm(const TxForm&) = delete;
    TxForm& operator=(const TxForm&) = delete;

    HWND Handle() const { return m_hWnd; }
    void SetCaption(const char* pszCaption);
    TxString Caption() const;
    const TxFont& Font() const { return *m_pFont; }

    // Runs FormShow and fits the controls, then makes the form visible and
    // focuses the active control, so that what the user first sees is the
    // finished form; then runs FormShown.
    void Show();
    void Hide();
    bool IsVisible() const { return IsWindowVisible(m_hWnd) != FALSE; }
    // Shows the form modally: every other window of the thread is disabled
    // until the modal result is set and FormCloseQuery agrees. Returns it.
    int ShowModal();
    int ModalResult() const { return m_iModalResult; }
    // Ends a modal showing at the loop's next turn (after FormCloseQuery).
    void SetModalResult(int iResult);
    bool IsModal() const { return m_bModal; }

    // The window's place and size at 96 DPI.
    void SetBounds(int iLeft, int iTop, int iWidth, int iHeight);
    void SetClientSize(int iWidth, int iHeight);
    // The window's place on the screen and its size in the screen's pixels.
    void SetBoundsPx(int iLeft, int iTop, int iWidth, int iHeight);
    void SetPositionPx(int iLeft, int iTop);
    void CentreOnScreen();
    void SetCentred(bool bCentred) { m_bCentred = bCentred; }
    // The smallest window size the user may drag the form to, at 96 DPI.
    void SetMinTrackSize(int iWidth, int iHeight);
    // The client area in the screen's pixels.
    RECT ClientRectPx() const;

    void SetActiveControl(TxControl* pControl) { m_pActiveControl = pControl; }
    void SetDefaultButton(TxButton* pButton) { m_pDefaultButton = pButton; }
    void SetCancelButton(TxButton* pButton) { m_pCancelButton = pButton; }

    // Posts a private message to the form's own window.
    bool Post(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0) const;

    // Used by the controls: the next free control id, the dispatch table
    // (every window of a control), the controls to lay out and the mark
    // that they need it.
    int NextControlId() { return m_iNextId++; }
    void RegisterControl(HWND hWnd, TxControl* pControl);
    void UnregisterControl(HWND hWnd);
    void AddControl(TxControl* pControl) { m_Layout.push_back(pControl); }
    void RemoveControl(TxControl* pControl);
    void MarkLayout() { m_bLayoutDue = true; }

protected:
    virtual LRESULT WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam);
    // Handlers a form overrides. FormShow runs before the form becomes
    // visible (what it sets is shown at once, a message box it shows comes
    // before the form); FormShown once the form is on screen (work the user
    // should see progress of).
    virtual void FormShow() {}
    virtual void FormShown() {}
    // True lets a modal showing end with the current modal result.
    virtual bool FormCloseQuery() { return true; }
    // The system's close command; a modal form counts it as Cancel.
    virtual void FormCloseRequest();

private:
    static LRESULT CALLBACK StaticWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    TxControl* FindControl(HWND hWnd) const;
    void ClickIfUsable(TxButton* pButton);
    LRESULT DefaultButtonId() const;
    void FocusActiveControl();
    // Keeps the focused control while another window (a message box, a
    // modal form) is active and gives it back on return, as the system's
    // dialog manager does. Returns whether a control took the focus.
    void RememberFocus();
    bool RestoreFocus();
    // Fits the controls if something marked them; a hidden form waits for
    // its showing unless bHidden.
    void LayoutIfDue(bool bHidden);

    TxWindowClass m_Class;
    HWND m_hWnd;
    DWORD m_dwStyle;
    DWORD m_dwExStyle;
    const TxFont* m_pFont;
    int m_iModalResult;
    bool m_bModal;
    bool m_bCentred;
    int m_iNextId;
    SIZE m_MinTrack;
    TxControl* m_pActiveControl;
    HWND m_hFocus;
    TxButton* m_pDefaultButton;
    TxButton* m_pCancelButton;
    std::vector<std::pair<HWND, TxControl*>> m_Controls;
    // The controls in the order they were made.
    std::vector<TxControl*> m_Layout;
    bool m_bLayoutDue;
    // How many messages to the form are being handled, nested.
    int m_iHandling;
};
