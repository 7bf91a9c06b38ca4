// INSERT: new rows written with the old ones into a new table file, put in place atomically;
// keyed tables keep key order and their primary index.
#pragma once

#include "pdx/sql/ast.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pdx {

// Inserts the rows (values for `columns`, or for all fields in order when it is empty).
// Returns how many. Throws pdx::Error; the table and its files are then as they were.
std::int64_t insertRows(const std::string& table, const std::vector<std::string>& columns,
                        const std::vector<std::vector<sql::Literal>>& rows);

}  // namespace pdx
