#include "LogCollector.h"

#include "LogReceiverWindow.h"

namespace
{
// Module name (10), a space, 8 hex digits of the thread id, 7 blanks.
constexpr size_t PREFIX_LENGTH = 26;

std::string MessageOf(const std::string& sLine)
{
    if (sLine.size() <= PREFIX_LENGTH)
        return std::string();
    size_t nStart = sLine.find_first_not_of(' ', PREFIX_LENGTH);
    return nStart == std::string::npos ? std::string() : sLine.substr(nStart);
}
} // namespace

LogCollector::LogCollector()
    : m_pWindow(std::make_unique<LogReceiverWindow>([this](const std::string& sData)
                                                    { Receive(sData); })),
      m_bOpen(false)
{
    m_bOpen = m_pWindow->Create(false, false);
}

LogCollector::~LogCollector() = default;

bool LogCollector::IsOpen() const
{
    return m_bOpen;
}

void LogCollector::Receive(const std::string& sData)
{
    // The data ends in the line's zero.
    std::string sLine(sData.c_str());
    m_Lines.push_back(sLine);
    m_Messages.push_back(MessageOf(sLine));
    if (m_Observer)
        m_Observer(m_Messages.back());
}

bool LogCollector::HasMessage(const std::string& sMessage) const
{
    for (const std::string& s : m_Messages)
        if (s == sMessage)
            return true;
    return false;
}

int LogCollector::Find(const std::string& sStart, int iFrom) const
{
    for (size_t i = iFrom < 0 ? 0 : static_cast<size_t>(iFrom); i < m_Messages.size(); ++i)
        if (m_Messages[i].compare(0, sStart.size(), sStart) == 0)
            return static_cast<int>(i);
    return -1;
}

void LogCollector::Clear()
{
    m_Lines.clear();
    m_Messages.clear();
}

void LogCollector::SetObserver(std::function<void(const std::string&)> observer)
{
    m_Observer = std::move(observer);
}
