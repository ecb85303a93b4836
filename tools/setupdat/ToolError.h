#pragma once

#include <stdexcept>

// A failure the tool reports to its user: the message says what and which file.
class ToolError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A command line that cannot be understood; answered with the usage text.
class UsageError : public ToolError
{
public:
    using ToolError::ToolError;
};
