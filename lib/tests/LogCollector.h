#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

class LogReceiverWindow;

// A log receiver window ("TFormKvLog", "Kestov Log Receiver") in the test's
// process; it keeps every line received. A setup started later finds it at
// its start; with bThisProcess the test's own log is restarted so that it
// finds it too (and restarted again when the collector goes, so that it
// stops sending). Lines of this process arrive at once, as the log sends
// from the logging thread; those of another process only while the test
// pumps messages.
class LogCollector
{
public:
    explicit LogCollector(bool bThisProcess = true);
    ~LogCollector();
    LogCollector(const LogCollector&) = delete;
    LogCollector& operator=(const LogCollector&) = delete;

    // The window is up and, with bThisProcess, the log has found it.
    bool IsReady() const;
    // Each line's bytes as received, the terminating zero included.
    const std::vector<std::string>& Data() const { return m_Data; }
    // The whole lines, without the zero.
    std::vector<std::string> Lines() const;
    // Each line's text after its prefix (module name, thread id), its indent
    // kept.
    std::vector<std::string> Messages() const;
    // Whether a message, its indent left out, is sMessage.
    bool HasMessage(const std::string& sMessage) const;
    // Index of the first message at or after iFrom that, its indent left
    // out, starts with sStart; -1 if none.
    int Find(const std::string& sStart, int iFrom = 0) const;
    void Clear() { m_Data.clear(); }
    // Called with every message, its indent left out, as it comes in.
    void SetObserver(std::function<void(const std::string&)> observer);

    // The receiver line prefix of the calling thread's lines, without tag.
    static std::string Prefix();

private:
    void Receive(const std::string& sData);

    std::unique_ptr<LogReceiverWindow> m_pWindow;
    std::vector<std::string> m_Data;
    std::function<void(const std::string&)> m_Observer;
    bool m_bOpen = false;
    bool m_bThisProcess;
};
