// Printing rows as UTF-8 text: tab-separated lines, or CSV.
#pragma once

#include "pdx/query.h"

#include <ostream>
#include <string>

// A value for a tab-separated line: tabs, line breaks and backslashes escaped (\t \n \r \\).
std::string tabEscaped(const std::string& text);

// The query's rows, a line of column names first; for COUNT(*) only the number. Throws
// pdx::Error when the table cannot be read.
void printTabSeparated(pdx::Query& query, std::ostream& out);
// The same as CSV (RFC 4180): a field with a comma, a quote or a line break quoted, quotes
// doubled, lines ending in CR LF. `out` must write bytes as they are.
void printCsv(pdx::Query& query, std::ostream& out);
