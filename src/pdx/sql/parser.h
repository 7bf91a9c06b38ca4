// Statements from their text.
#pragma once

#include "pdx/sql/ast.h"

#include <string_view>

namespace pdx::sql {

// Parses one statement. Throws pdx::Error naming the problem and where it is.
Statement parse(std::string_view text);

// Whether the statement's first word is SELECT (whatever follows).
bool isSelect(std::string_view text);

}  // namespace pdx::sql
