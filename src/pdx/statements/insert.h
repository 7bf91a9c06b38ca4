// INSERT: new rows written with the old ones into a new table file, put in place with the
// table's other files in one commit; keyed tables keep key order and their primary index.
#pragma once

#include "pdx/sql/ast.h"

#include <cstdint>

namespace pdx {

// Inserts the rows (values for the columns named, or for all fields in order). Returns how
// many. Throws pdx::Error or os::Error; the table's files are then as they were.
std::int64_t insertRows(const sql::Insert& statement);

}  // namespace pdx
