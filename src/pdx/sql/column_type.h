// The column types CREATE TABLE accepts, mapped to Paradox field types.
#pragma once

#include "pdx/value.h"

#include <string>
#include <string_view>
#include <vector>

namespace pdx::sql {

// Fills field.type and field.size for a type written as `typeName(args...)`.
// Returns an empty string on success, else the problem in Russian.
std::string columnType(std::string_view typeName, const std::vector<long long>& args, FieldDef& field);

// The type's name for messages, in Russian.
std::string typeDescription(FieldType type);

}  // namespace pdx::sql
