#include "LogCollector.h"

#include "CLog.h"
#include "LogReceiverWindow.h"

#include <cstdio>
#include <gtest/gtest.h>

namespace
{
// Module name (10), a space, 8 hex digits of the thread id, 7 blanks.
constexpr size_t PREFIX_LENGTH = 26;

std::string MessageOf(const std::string& sData)
{
    std::string sLine(sData.c_str());
    return sLine.size() >= PREFIX_LENGTH ? sLine.substr(PREFIX_LENGTH) : sLine;
}

std::string Unindented(const std::string& sMessage)
{
    size_t nStart = sMessage.find_first_not_of(' ');
    return nStart == std::string::npos ? std::string() : sMessage.substr(nStart);
}
} // namespace

LogCollector::LogCollector(bool bThisProcess)
    : m_pWindow(std::make_unique<LogReceiverWindow>([this](const std::string& sData)
                                                    { Receive(sData); })),
      m_bThisProcess(bThisProcess)
{
    m_bOpen = m_pWindow->Create(false, false);
    if (!m_bThisProcess)
        return;
    g_Log.Restart(g_SetupLogConfig);
    EXPECT_TRUE(IsReady()) << "the log receiver window could not be made or found";
}

LogCollector::~LogCollector()
{
    m_pWindow.reset();
    if (m_bThisProcess)
        g_Log.Restart(g_SetupLogConfig);
}

bool LogCollector::IsReady() const
{
    return m_bOpen && (!m_bThisProcess || g_Log.IsReceiverFound());
}

void LogCollector::Receive(const std::string& sData)
{
    m_Data.push_back(sData);
    if (m_Observer)
        m_Observer(Unindented(MessageOf(sData)));
}

std::vector<std::string> LogCollector::Lines() const
{
    std::vector<std::string> lines;
    for (const std::string& sData : m_Data)
        lines.push_back(sData.c_str());
    return lines;
}

std::vector<std::string> LogCollector::Messages() const
{
    std::vector<std::string> messages;
    for (const std::string& sData : m_Data)
        messages.push_back(MessageOf(sData));
    return messages;
}

bool LogCollector::HasMessage(const std::string& sMessage) const
{
    for (const std::string& sData : m_Data)
        if (Unindented(MessageOf(sData)) == sMessage)
            return true;
    return false;
}

int LogCollector::Find(const std::string& sStart, int iFrom) const
{
    for (size_t i = iFrom < 0 ? 0 : static_cast<size_t>(iFrom); i < m_Data.size(); ++i)
        if (Unindented(MessageOf(m_Data[i])).compare(0, sStart.size(), sStart) == 0)
            return static_cast<int>(i);
    return -1;
}

void LogCollector::SetObserver(std::function<void(const std::string&)> observer)
{
    m_Observer = std::move(observer);
}

std::string LogCollector::Prefix()
{
    char szThread[16];
    std::snprintf(szThread, sizeof(szThread), "%08lx", GetCurrentThreadId());
    return std::string("Setup     ") + " " + szThread + "       ";
}
