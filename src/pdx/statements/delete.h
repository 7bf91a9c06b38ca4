// DELETE: the rows a condition selects leave the table in one streaming pass; the survivors
// are written aside and put in place atomically, the primary index rebuilt to match.
#pragma once

#include "pdx/sql/ast.h"

#include <cstdint>
#include <string>

namespace pdx {

// Deletes the rows for which `where` is TRUE (all rows when it is null). Returns how many.
// Throws pdx::Error; the table is then exactly as it was.
std::int64_t deleteRows(const std::string& table, const sql::Expr* where);

}  // namespace pdx
