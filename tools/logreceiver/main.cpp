// Log receiver: shows the setup's diagnostic lines as they arrive and, when
// a file is named on the command line, appends each line to it.
//
//   logreceiver [FILE]
#include "LogReceiverWindow.h"
#include "ProductNames.h"
#include "TxHandles.h"

#include <string>
#include <windows.h>

namespace
{
HANDLE OpenLogFile(const char* pszPath)
{
    HANDLE hFile = CreateFileA(pszPath, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile != INVALID_HANDLE_VALUE)
        SetFilePointer(hFile, 0, nullptr, FILE_END);
    return hFile;
}

std::string FileArgument(const char* pszCmdLine)
{
    std::string arg(pszCmdLine != nullptr ? pszCmdLine : "");
    size_t b = arg.find_first_not_of(' ');
    if (b == std::string::npos)
        return "";
    size_t e = arg.find_last_not_of(' ');
    arg = arg.substr(b, e - b + 1);
    if (arg.size() >= 2 && arg.front() == '"' && arg.back() == '"')
        arg = arg.substr(1, arg.size() - 2);
    return arg;
}
} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR pszCmdLine, int)
{
    std::string path = FileArgument(pszCmdLine);
    TxFileHandle file;
    if (!path.empty())
    {
        file.Reset(OpenLogFile(path.c_str()));
        if (!file.IsValid())
        {
            std::string text = "Cannot open the log file " + path + ".";
            MessageBoxA(nullptr, text.c_str(), LOG_RECEIVER_TITLE, MB_OK | MB_ICONEXCLAMATION);
            return 1;
        }
    }
    HANDLE hFile = file.Get();
    LogReceiverWindow window(
        [hFile](const std::string& data)
        {
            if (hFile == INVALID_HANDLE_VALUE)
                return;
            std::string line(data.c_str());
            line += "\r\n";
            DWORD dwWritten = 0;
            WriteFile(hFile, line.data(), static_cast<DWORD>(line.size()), &dwWritten, nullptr);
        });
    if (!window.Create(true, true))
        return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
    {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
