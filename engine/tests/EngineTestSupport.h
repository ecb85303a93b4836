#pragma once

#include <string>
#include <vector>

#include "TxString.h"

// A fresh, empty folder under the temporary folder, removed with all its
// content when the object goes.
class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_sPath; }
    // Path() + "\" + name.
    std::string operator/(const std::string& name) const { return m_sPath + "\\" + name; }

private:
    std::string m_sPath;
};

void WriteTextFile(const std::string& path, const std::string& content);
bool PathExists(const std::string& path);
// Deletes a folder tree, clearing read-only attributes on the way.
void DeleteTree(const std::string& path);

// Collects the diagnostic log's lines (message part only, after the fixed
// prefix) while it lives.
class LogCapture
{
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    const std::vector<std::string>& Messages() const { return m_Messages; }
    bool Contains(const std::string& message) const;

private:
    struct Impl;
    Impl* m_pImpl;
    std::vector<std::string> m_Messages;
};
