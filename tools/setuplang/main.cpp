#include "Commands.h"

#include <iostream>
#ifdef _WIN32
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv)
{
#ifdef _WIN32
    // Sections are written byte for byte, their CR LF included.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    std::vector<std::string> args(argv + 1, argv + argc);
    return RunSetupLang(args, std::cout, std::cerr);
}
