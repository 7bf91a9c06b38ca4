// UTF-8 on the command line and the console, whatever the system's code page.
#pragma once

#include <string>
#include <vector>

// The program's command-line arguments as UTF-8.
std::vector<std::string> utf8Arguments(int argc, char** argv);

// Makes the console show the UTF-8 text the program prints (Windows consoles default to an
// OEM code page; elsewhere nothing is needed).
void useUtf8Console();

// Makes standard output write bytes as they are: Windows would turn each LF into CR LF.
void useBinaryOutput();
