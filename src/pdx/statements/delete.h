// DELETE: the rows a condition selects leave the table in one streaming pass; the survivors
// are written aside and put in place with the table's other files in one commit.
#pragma once

#include "pdx/sql/ast.h"

#include <cstdint>

namespace pdx {

// Deletes the rows for which the condition is TRUE (all rows without one). Returns how many.
// Throws pdx::Error or os::Error; the table's files are then as they were.
std::int64_t deleteRows(const sql::Delete& statement);

}  // namespace pdx
