// Literals of a statement as the values a table's fields store.
#pragma once

#include "pdx/sql/ast.h"
#include "pdx/value.h"

namespace pdx {

// The value a field of this type stores for the literal. Throws pdx::Error naming the field
// on a type mismatch or a value out of range.
Value toFieldValue(const sql::Literal& literal, const FieldDef& field);

}  // namespace pdx
