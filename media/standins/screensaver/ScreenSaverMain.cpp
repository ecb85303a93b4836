// Stand-in of the product's screen saver (an .exe named .scr).
//
//   Quorvane.scr /s          shows the saver until a key, a click or a mouse move
//   Quorvane.scr /c, /p HWND no settings and no preview: exits at once
//   Quorvane.scr             as /c, which is what Windows means by no argument
#include "CommandLine.h"
#include "ScreenSaverWindow.h"
#include "WindowSupport.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR pszCmdLine, int)
{
    if (!HasSwitch(pszCmdLine, "s"))
        return 0;
    ScreenSaverWindow window;
    if (!window.Create(hInstance))
        return 1;
    return RunMessageLoop();
}
