#include "EngineTestSupport.h"

#include "CLog.h"
#include "LogReceiverWindow.h"

#include <algorithm>
#include <windows.h>

TempFolder::TempFolder()
{
    char szTemp[MAX_PATH];
    GetTempPathA(MAX_PATH, szTemp);
    static int s_iCounter = 0;
    char szName[64];
    wsprintfA(szName, "qvtest_%lu_%d", GetCurrentProcessId(), ++s_iCounter);
    m_sPath = std::string(szTemp) + szName;
    DeleteTree(m_sPath);
    CreateDirectoryA(m_sPath.c_str(), nullptr);
}

TempFolder::~TempFolder()
{
    DeleteTree(m_sPath);
}

void WriteTextFile(const std::string& path, const std::string& content)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return;
    DWORD dw = 0;
    WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &dw, nullptr);
    CloseHandle(h);
}

bool PathExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void DeleteTree(const std::string& path)
{
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((path + "\\*").c_str(), &data);
    if (h != INVALID_HANDLE_VALUE)
    {
        do
        {
            std::string name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string child = path + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(h, &data));
        FindClose(h);
    }
    RemoveDirectoryA(path.c_str());
}

struct LogCapture::Impl
{
    explicit Impl(std::vector<std::string>& messages)
        : window(
              [&messages](const std::string& data)
              {
                  // "Setup     " + " " + 8 hex digits + 7 spaces = 26 characters.
                  std::string line(data.c_str());
                  messages.push_back(line.size() > 26 ? line.substr(26) : std::string());
              })
    {
    }
    LogReceiverWindow window;
};

LogCapture::LogCapture() : m_pImpl(new Impl(m_Messages))
{
    m_pImpl->window.Create(false, false);
    g_Log.Restart(g_SetupLogConfig);
}

LogCapture::~LogCapture()
{
    delete m_pImpl;
    g_Log.Restart(g_SetupLogConfig);
}

bool LogCapture::Contains(const std::string& message) const
{
    return std::find(m_Messages.begin(), m_Messages.end(), message) != m_Messages.end();
}
