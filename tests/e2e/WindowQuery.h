#pragma once

#include <string>
#include <vector>
#include <windows.h>

// Reading the setup's windows from outside, as a user's eyes would: by class,
// caption and text. Texts are fetched with WM_GETTEXT, bounded in time.

std::string WindowText(HWND hWnd);
std::string ClassOf(HWND hWnd);
bool IsShown(HWND hWnd);
bool IsUsable(HWND hWnd);

// Visible top-level windows of one process; with a class name only those.
std::vector<HWND> TopWindows(DWORD dwProcessId, const char* pszClass = nullptr);
// The first visible top-level window of the process with that class, else null.
HWND FindTopWindow(DWORD dwProcessId, const char* pszClass);
// The same, shown or hidden.
HWND FindFormWindow(DWORD dwProcessId, const char* pszClass);
// The window with the keyboard focus in the thread of hWnd; null if none.
HWND FocusedWindow(HWND hWnd);
// The focus in the thread of hWnd once it is on hExpected, or as it stands
// after dwTimeout: a form gives the focus back only after a message box or a
// modal form has gone, so it may be nowhere for a moment.
HWND WaitForFocus(HWND hWnd, HWND hExpected, DWORD dwTimeout = 5000);

// Every child window (all levels) of hParent.
std::vector<HWND> Children(HWND hParent);
// The child of that class (letter case ignored) whose text is sText; with
// bVisibleOnly hidden ones are passed over. Null when there is none.
HWND FindChild(HWND hParent, const char* pszClass, const std::string& sText,
               bool bVisibleOnly = true);
// The visible child of the class whose text starts with sStart; null if none.
HWND FindChildStartingWith(HWND hParent, const char* pszClass, const std::string& sStart);
// Texts of the visible children of a class, in z-order.
std::vector<std::string> ChildTexts(HWND hParent, const char* pszClass);
// True when some visible child of the class shows exactly sText.
bool ShowsText(HWND hParent, const char* pszClass, const std::string& sText);

// Items of a list box.
std::vector<std::string> ListItems(HWND hList);
std::string SelectedListItem(HWND hList);
bool IsChecked(HWND hButton);
