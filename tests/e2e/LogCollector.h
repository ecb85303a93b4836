#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

class LogReceiverWindow;

// The log receiver window the setup finds at its start ("TFormKvLog",
// "Kestov Log Receiver"); it keeps every line received. Lines arrive only
// while the driver pumps messages.
class LogCollector
{
public:
    LogCollector();
    ~LogCollector();
    LogCollector(const LogCollector&) = delete;
    LogCollector& operator=(const LogCollector&) = delete;

    bool IsOpen() const;
    // The messages: each line without its prefix (module name, thread id)
    // and without the indent.
    const std::vector<std::string>& Messages() const { return m_Messages; }
    // The whole lines as received, without the terminating zero.
    const std::vector<std::string>& Lines() const { return m_Lines; }
    bool HasMessage(const std::string& sMessage) const;
    // Index of the first message that starts with sStart at or after iFrom; -1 if none.
    int Find(const std::string& sStart, int iFrom = 0) const;
    void Clear();
    // Called with every message as it comes in, while the setup waits for it.
    void SetObserver(std::function<void(const std::string&)> observer);

private:
    void Receive(const std::string& sData);

    std::unique_ptr<LogReceiverWindow> m_pWindow;
    std::vector<std::string> m_Lines;
    std::vector<std::string> m_Messages;
    std::function<void(const std::string&)> m_Observer;
    bool m_bOpen;
};
