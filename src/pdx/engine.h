// The engine's entry: one SQL statement in, the number of rows it changed out; and the copy
// of a whole table.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pdx {

// Runs one statement that changes a table (DELETE, CREATE TABLE or INSERT). The text is
// UTF-8; lines may end in CR LF. Returns the number of rows deleted or inserted (0 for
// CREATE TABLE). Throws pdx::Error, also for a SELECT (pdx::Query in pdx/query.h reads
// those); on error no table has changed.
std::int64_t execute(std::string_view statement);

// Makes the table file `target` a copy of `source` (both full paths of table files),
// whatever the files hold. The source's blob file (.MB, any case) is copied beside the
// target under the target's name with the source's extension; the target's other blob files
// and its index files (primary and secondary, any case) are removed, as they belong to its
// old content. Other companions (.VAL) stay. Throws pdx::Error naming the source, the target
// and the system's reason; then the target's files are as they were.
void copyTable(const std::string& source, const std::string& target);

}  // namespace pdx
