#pragma once

// The library's test support (temp folders, whole-file I/O, tree removal)
// with what the stand-in tests add: registry and pending-removal helpers.
#include "TestSupport.h"

#include <string>
#include <vector>
#include <windows.h>

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
