#pragma once

#include <string>
#include <vector>
#include <windows.h>

// A fresh folder of the test's own under the temp folder, removed with all
// its content (read-only files included) when the object goes.
class TestFolder
{
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::string& Path() const { return m_sPath; }
    // Path() + "\" + relative path.
    std::string operator/(const std::string& sName) const { return m_sPath + "\\" + sName; }

private:
    std::string m_sPath;
};

bool WriteBytes(const std::string& sPath, const std::string& sBytes);
bool PathExists(const std::string& sPath);
void DeleteTree(const std::string& sPath);

bool SetRegString(const char* pszKey, const char* pszValue, const char* pszText);
bool RegValueExists(const char* pszKey, const char* pszValue);
bool RegKeyExists(const char* pszKey);
// Removes the product's key, and the vendor key when nothing else is left in it.
void DeleteProductKey();

// A file that sits beside the test program (the stand-ins are built there).
std::string BesideTest(const char* pszName);

// The list of removals Windows does at its next start, saved when made and
// put back when destroyed, so that a test leaves no pending removal behind.
class PendingRemovalsGuard
{
public:
    PendingRemovalsGuard();
    ~PendingRemovalsGuard();
    PendingRemovalsGuard(const PendingRemovalsGuard&) = delete;
    PendingRemovalsGuard& operator=(const PendingRemovalsGuard&) = delete;

    // The current list, as REG_MULTI_SZ bytes.
    static std::string Current();

private:
    bool m_bHadValue;
    std::string m_sSaved;
};
