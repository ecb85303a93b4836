// The start-up baseline: a Windows program that shows one empty dialog and
// nothing else. The benchmark ends it once the dialog is visible.
#include <windows.h>

namespace
{
INT_PTR CALLBACK DialogProc(HWND hDlg, UINT uMsg, WPARAM, LPARAM)
{
    if (uMsg == WM_CLOSE)
    {
        EndDialog(hDlg, 0);
        return TRUE;
    }
    return uMsg == WM_INITDIALOG;
}

// An in-memory template: a titled, visible dialog without controls.
struct EmptyTemplate
{
    DLGTEMPLATE dlg;
    WORD wMenu, wClass, wTitle[6];
};
} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    EmptyTemplate t = {};
    t.dlg.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_CENTER;
    t.dlg.cx = 200;
    t.dlg.cy = 100;
    const char szTitle[] = "Empty";
    for (int i = 0; szTitle[i]; ++i)
        t.wTitle[i] = static_cast<WORD>(szTitle[i]);
    INT_PTR result = DialogBoxIndirectParamA(hInstance, &t.dlg, nullptr, DialogProc, 0);
    return result == -1 ? 1 : 0;
}
