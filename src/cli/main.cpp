#include "cli/Cli.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    // The texts are UTF-8; the console shows them as such only when told.
    SetConsoleOutputCP(CP_UTF8);
    const bool errIsTerminal = _isatty(_fileno(stderr)) != 0;
#else
    const bool errIsTerminal = isatty(STDERR_FILENO) != 0;
#endif
    std::vector<std::string> args(argv + 1, argv + argc);
    tesmira::cli::CommandContext context{std::cout, std::cerr, errIsTerminal, {}, {}};
    return tesmira::cli::RunCli(args, context);
}
