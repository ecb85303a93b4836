// Stands for a DLL planted beside the setup under a system DLL's name: when
// loaded it leaves "<its own path>.loaded" and refuses to stay, so that the
// loader goes on to the real one.
#include "TxHandles.h"

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID)
{
    if (dwReason != DLL_PROCESS_ATTACH)
        return TRUE;
    char szPath[MAX_PATH + 16];
    DWORD n = GetModuleFileNameA(hInstance, szPath, MAX_PATH);
    if (n > 0 && n < MAX_PATH)
    {
        lstrcatA(szPath, ".loaded");
        TxFileHandle hRecord(
            CreateFileA(szPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    return FALSE;
}
