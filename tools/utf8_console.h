// The program's command-line arguments as UTF-8, whatever the system's code page.
#pragma once

#include <string>
#include <vector>

std::vector<std::string> utf8Arguments(int argc, char** argv);
