#pragma once

#include "SetupDatFormat.h"

#include <string>

// Archive entry names as the setup sees them.

// The entry's Name field up to its first zero byte, at most 96 bytes.
std::string EntryName(const PackageFile& entry);

// The part the setup looks up: after the last "\", else after the last "/".
std::string LookupName(const std::string& sName);

// Letter case ignored. The tool only stores plain ASCII names (see
// CheckEntryName), for which this agrees with the setup's comparison.
bool EqualIgnoreCase(const std::string& a, const std::string& b);

// Whether the setup takes the two names for the same: plain printable ASCII
// names as EqualIgnoreCase, any other pair as the setup's locale-aware
// comparison does (archives made elsewhere may hold such names). That
// comparison exists only on Windows: elsewhere such a pair throws ToolError.
bool SameNameForSetup(const std::string& a, const std::string& b);

// Case-folded key for sorting and duplicate detection.
std::string EntryNameKey(const std::string& sName);

// Empty if the name can be stored and extracted on Windows, else the reason.
std::string CheckEntryName(const std::string& sName);
