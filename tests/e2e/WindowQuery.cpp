#include "WindowQuery.h"

namespace
{
constexpr UINT SEND_TIMEOUT_MS = 5000;

struct TopSearch
{
    DWORD dwProcessId;
    const char* pszClass;
    std::vector<HWND> found;
    bool bVisibleOnly = true;
};

BOOL CALLBACK CollectTop(HWND hWnd, LPARAM lParam)
{
    auto* pSearch = reinterpret_cast<TopSearch*>(lParam);
    DWORD dwProcessId = 0;
    GetWindowThreadProcessId(hWnd, &dwProcessId);
    if (dwProcessId != pSearch->dwProcessId || (pSearch->bVisibleOnly && !IsWindowVisible(hWnd)))
        return TRUE;
    if (pSearch->pszClass == nullptr || ClassOf(hWnd) == pSearch->pszClass)
        pSearch->found.push_back(hWnd);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND hWnd, LPARAM lParam)
{
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}

LRESULT SendBounded(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR dwResult = 0;
    if (!SendMessageTimeoutA(hWnd, uMsg, wParam, lParam, SMTO_NORMAL, SEND_TIMEOUT_MS, &dwResult))
        return -1;
    return static_cast<LRESULT>(dwResult);
}
} // namespace

std::string WindowText(HWND hWnd)
{
    char szText[4096] = "";
    LRESULT n = SendBounded(hWnd, WM_GETTEXT, sizeof(szText), reinterpret_cast<LPARAM>(szText));
    if (n <= 0)
        return std::string();
    return std::string(szText, static_cast<size_t>(n) < sizeof(szText) ? static_cast<size_t>(n)
                                                                       : sizeof(szText) - 1);
}

std::string ClassOf(HWND hWnd)
{
    char szClass[256] = "";
    int n = GetClassNameA(hWnd, szClass, sizeof(szClass));
    return std::string(szClass, n > 0 ? static_cast<size_t>(n) : 0);
}

bool IsShown(HWND hWnd)
{
    return hWnd != nullptr && IsWindowVisible(hWnd);
}

bool IsUsable(HWND hWnd)
{
    return IsShown(hWnd) && IsWindowEnabled(hWnd);
}

std::vector<HWND> TopWindows(DWORD dwProcessId, const char* pszClass)
{
    TopSearch search = {dwProcessId, pszClass, {}};
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindTopWindow(DWORD dwProcessId, const char* pszClass)
{
    std::vector<HWND> found = TopWindows(dwProcessId, pszClass);
    return found.empty() ? nullptr : found.front();
}

HWND FindFormWindow(DWORD dwProcessId, const char* pszClass)
{
    TopSearch search = {dwProcessId, pszClass, {}, false};
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&search));
    return search.found.empty() ? nullptr : search.found.front();
}

HWND FocusedWindow(HWND hWnd)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (hWnd == nullptr || !GetGUIThreadInfo(GetWindowThreadProcessId(hWnd, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

HWND WaitForFocus(HWND hWnd, HWND hExpected, DWORD dwTimeout)
{
    DWORD dwStart = GetTickCount();
    HWND hFocus = FocusedWindow(hWnd);
    while (hFocus != hExpected && GetTickCount() - dwStart < dwTimeout)
    {
        Sleep(20);
        hFocus = FocusedWindow(hWnd);
    }
    return hFocus;
}

std::vector<HWND> Children(HWND hParent)
{
    std::vector<HWND> children;
    EnumChildWindows(hParent, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

HWND FindChild(HWND hParent, const char* pszClass, const std::string& sText, bool bVisibleOnly)
{
    for (HWND hChild : Children(hParent))
    {
        if (lstrcmpiA(ClassOf(hChild).c_str(), pszClass) != 0)
            continue;
        if (bVisibleOnly && !IsWindowVisible(hChild))
            continue;
        if (WindowText(hChild) == sText)
            return hChild;
    }
    return nullptr;
}

HWND FindChildStartingWith(HWND hParent, const char* pszClass, const std::string& sStart)
{
    for (HWND hChild : Children(hParent))
        if (lstrcmpiA(ClassOf(hChild).c_str(), pszClass) == 0 && IsWindowVisible(hChild) &&
            WindowText(hChild).compare(0, sStart.size(), sStart) == 0)
            return hChild;
    return nullptr;
}

std::vector<std::string> ChildTexts(HWND hParent, const char* pszClass)
{
    std::vector<std::string> texts;
    for (HWND hChild : Children(hParent))
        if (lstrcmpiA(ClassOf(hChild).c_str(), pszClass) == 0 && IsWindowVisible(hChild))
            texts.push_back(WindowText(hChild));
    return texts;
}

bool ShowsText(HWND hParent, const char* pszClass, const std::string& sText)
{
    return FindChild(hParent, pszClass, sText) != nullptr;
}

std::vector<std::string> ListItems(HWND hList)
{
    // Wine hands LB_GETTEXT to another process in UTF-16 whichever way it
    // was asked, so the items are fetched wide and turned into ANSI here.
    std::vector<std::string> items;
    LRESULT iCount = SendBounded(hList, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < iCount; ++i)
    {
        wchar_t wszItem[512] = L"";
        DWORD_PTR dwLength = 0;
        if (!SendMessageTimeoutW(hList, LB_GETTEXT, static_cast<WPARAM>(i),
                                 reinterpret_cast<LPARAM>(wszItem), SMTO_NORMAL, SEND_TIMEOUT_MS,
                                 &dwLength) ||
            dwLength >= 512)
            dwLength = 0;
        wszItem[dwLength] = 0;
        char szItem[1024] = "";
        WideCharToMultiByte(CP_ACP, 0, wszItem, -1, szItem, sizeof(szItem), nullptr, nullptr);
        items.push_back(szItem);
    }
    return items;
}

std::string SelectedListItem(HWND hList)
{
    LRESULT iIndex = SendBounded(hList, LB_GETCURSEL, 0, 0);
    if (iIndex < 0)
        return std::string();
    std::vector<std::string> items = ListItems(hList);
    return static_cast<size_t>(iIndex) < items.size() ? items[static_cast<size_t>(iIndex)]
                                                      : std::string();
}

bool IsChecked(HWND hButton)
{
    return SendBounded(hButton, BM_GETCHECK, 0, 0) == BST_CHECKED;
}
