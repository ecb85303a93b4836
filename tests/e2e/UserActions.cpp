#include "UserActions.h"

#include "MessagePump.h"
#include "WindowQuery.h"

namespace
{
constexpr UINT SEND_TIMEOUT_MS = 5000;
constexpr char MESSAGE_BOX_CLASS[] = "#32770";

bool SendBounded(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult = nullptr)
{
    DWORD_PTR dwResult = 0;
    if (!SendMessageTimeoutA(hWnd, uMsg, wParam, lParam, SMTO_NORMAL, SEND_TIMEOUT_MS, &dwResult))
        return false;
    if (pResult != nullptr)
        *pResult = static_cast<LRESULT>(dwResult);
    return true;
}

// WM_COMMAND as the control itself would send it to its parent.
bool Notify(HWND hControl, WORD wCode)
{
    HWND hParent = GetParent(hControl);
    WPARAM wParam = MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(hControl)), wCode);
    return hParent != nullptr &&
           SendBounded(hParent, WM_COMMAND, wParam, reinterpret_cast<LPARAM>(hControl));
}

// The static that holds the message; the icon's static has no text.
std::string MessageText(HWND hBox)
{
    for (HWND hChild : Children(hBox))
    {
        if (lstrcmpiA(ClassOf(hChild).c_str(), "Static") != 0)
            continue;
        std::string sText = WindowText(hChild);
        if (!sText.empty())
            return sText;
    }
    return std::string();
}

std::vector<int> ButtonIds(HWND hBox)
{
    std::vector<int> ids;
    for (HWND hChild : Children(hBox))
        if (lstrcmpiA(ClassOf(hChild).c_str(), "Button") == 0 && IsWindowVisible(hChild))
            ids.push_back(GetDlgCtrlID(hChild));
    return ids;
}
} // namespace

bool Click(HWND hButton)
{
    // A user cannot reach a button whose dialog a box has disabled.
    if (!IsUsable(hButton) || !IsWindowEnabled(GetAncestor(hButton, GA_ROOT)))
        return false;
    return PostMessageA(hButton, BM_CLICK, 0, 0) != FALSE;
}

bool ClickAndWait(HWND hButton)
{
    return IsUsable(hButton) && IsWindowEnabled(GetAncestor(hButton, GA_ROOT)) &&
           SendBounded(hButton, BM_CLICK, 0, 0);
}

bool TypeText(HWND hEdit, const std::string& sText)
{
    if (!IsUsable(hEdit))
        return false;
    LRESULT lResult = 0;
    if (!SendBounded(hEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(sText.c_str()), &lResult) ||
        lResult == FALSE)
        return false;
    return Notify(hEdit, EN_CHANGE);
}

bool PickListItem(HWND hList, const std::string& sItem)
{
    std::vector<std::string> items = ListItems(hList);
    for (size_t i = 0; i < items.size(); ++i)
    {
        if (items[i] != sItem)
            continue;
        LRESULT lResult = 0;
        if (!SendBounded(hList, LB_SETCURSEL, i, 0, &lResult) || lResult == LB_ERR)
            return false;
        return Notify(hList, LBN_SELCHANGE);
    }
    return false;
}

bool HasMessageBox(DWORD dwProcessId)
{
    return FindTopWindow(dwProcessId, MESSAGE_BOX_CLASS) != nullptr;
}

MessageBoxInfo WaitForMessageBox(DWORD dwProcessId, DWORD dwTimeout)
{
    MessageBoxInfo box;
    // The box is there once its buttons are: it may be caught while it is
    // still being built.
    WaitUntil(
        [&]
        {
            box.hWnd = FindTopWindow(dwProcessId, MESSAGE_BOX_CLASS);
            return box.hWnd != nullptr && !ButtonIds(box.hWnd).empty() &&
                   !MessageText(box.hWnd).empty();
        },
        dwTimeout);
    if (box.hWnd == nullptr)
        return box;
    box.sCaption = WindowText(box.hWnd);
    box.sText = MessageText(box.hWnd);
    box.buttons = ButtonIds(box.hWnd);
    return box;
}

int DefaultButton(const MessageBoxInfo& box)
{
    for (int iId : box.buttons)
    {
        HWND hButton = GetDlgItem(box.hWnd, iId);
        if ((GetWindowLongA(hButton, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            return iId;
    }
    return 0;
}

bool Answer(const MessageBoxInfo& box, int iButtonId)
{
    HWND hButton = GetDlgItem(box.hWnd, iButtonId);
    if (hButton == nullptr || !Click(hButton))
        return false;
    return WaitUntil([&] { return !IsWindow(box.hWnd) || !IsWindowVisible(box.hWnd); },
                     WAIT_TIMEOUT_MS);
}
