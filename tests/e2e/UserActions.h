#pragma once

#include <string>
#include <vector>
#include <windows.h>

// What a user does to the setup's controls. Clicks are posted, not sent: a
// click may open a modal box, and a sent message would then wait for the
// driver that has to answer it.

// Presses a button (BM_CLICK). False when it is not there or not usable.
bool Click(HWND hButton);
// Sends a click and waits until its handler has returned, so that messages
// the handler posted come before anything the driver posts next. Only for
// buttons whose handler opens no box.
bool ClickAndWait(HWND hButton);
// Types a whole new text into an edit: WM_SETTEXT, then EN_CHANGE to the parent.
bool TypeText(HWND hEdit, const std::string& sText);
// Picks the list item with that text as a mouse click would: LB_SETCURSEL,
// then LBN_SELCHANGE to the parent. False when there is no such item.
bool PickListItem(HWND hList, const std::string& sItem);

// A message box of the setup (class #32770).
struct MessageBoxInfo
{
    HWND hWnd = nullptr;
    std::string sCaption;
    std::string sText;
    // Ids of its buttons (IDOK, IDYES, IDNO ...), in z-order.
    std::vector<int> buttons;
};

// Waits for a message box of the process; hWnd is null on timeout.
MessageBoxInfo WaitForMessageBox(DWORD dwProcessId, DWORD dwTimeout);
// True when a message box of the process is open now.
bool HasMessageBox(DWORD dwProcessId);
// The id of the box's default button (the one with the default style).
int DefaultButton(const MessageBoxInfo& box);
// Presses the button with that id (IDOK, IDYES, IDNO) and waits for the box
// to close.
bool Answer(const MessageBoxInfo& box, int iButtonId);
