// Prints a table's structure and rows as UTF-8 text.
#pragma once

#include <ostream>
#include <string>

// Throws pdx::Error when the table cannot be read.
void dumpTable(const std::string& path, std::ostream& out);
