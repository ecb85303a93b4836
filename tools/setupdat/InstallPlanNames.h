#pragma once

#include <string>
#include <vector>

// The 30 files the setup extracts from the archive, in plan order; an archive
// that lacks one of them makes the setup stop before its first dialog.
std::vector<std::string> InstallPlanNames();
