// UTF-8 on the command line and the console, whatever the system's code page.
#pragma once

#include <string>
#include <vector>

// The program's command-line arguments as UTF-8.
std::vector<std::string> utf8Arguments(int argc, char** argv);

// Makes a console show the UTF-8 text the program prints to std::cout and std::cerr. On
// Windows, a stream that is a console is written in UTF-16, which every console from XP on
// shows whatever its code page; a redirected one gets the UTF-8 bytes. Elsewhere nothing
// is needed.
void useUtf8Console();

// Makes standard output write bytes as they are: Windows would turn each LF into CR LF.
void useBinaryOutput();
