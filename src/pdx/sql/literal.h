// Literals as written, for messages.
#pragma once

#include "pdx/sql/ast.h"

#include <string>

namespace pdx::sql {

// NULL, TRUE, FALSE, the number as written, or the string in single quotes.
std::string literalText(const Literal& literal);

}  // namespace pdx::sql
