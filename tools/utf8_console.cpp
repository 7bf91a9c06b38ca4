#include "utf8_console.h"

#ifdef _WIN32
#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "os/wide.h"

// Windows passes main() arguments in the ANSI code page; the wide command line has them all.
std::vector<std::string> utf8Arguments(int, char**) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; wide && i < count; ++i) {
        arguments.push_back(os::narrow(wide[i]));
    }
    LocalFree(wide);
    return arguments;
}

void useUtf8Console() { SetConsoleOutputCP(CP_UTF8); }

void useBinaryOutput() { _setmode(_fileno(stdout), _O_BINARY); }
#else
std::vector<std::string> utf8Arguments(int argc, char** argv) { return {argv, argv + argc}; }

void useUtf8Console() {}

void useBinaryOutput() {}
#endif
