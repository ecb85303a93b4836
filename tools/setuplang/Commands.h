#pragma once

#include <ostream>
#include <string>
#include <vector>

// Exit codes of the tool.
constexpr int SETUPLANG_EXIT_OK = 0;
constexpr int SETUPLANG_EXIT_FINDINGS = 1; // check found faults in the file
constexpr int SETUPLANG_EXIT_USAGE =
    2; // bad command line, or a file that cannot be read or written

// Runs one command line (without the program name); results go to out,
// errors to err. Never throws.
int RunSetupLang(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
