#pragma once

#include <ostream>
#include <string>
#include <vector>

// Exit codes of the tool.
constexpr int SETUPDAT_EXIT_OK = 0;
constexpr int SETUPDAT_EXIT_FAILURE = 1; // the operation or the verification failed
constexpr int SETUPDAT_EXIT_USAGE = 2;   // the command line could not be understood

// Runs one command line (without the program name); results go to out,
// errors and their reasons to err. Never throws.
int RunSetupDat(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
