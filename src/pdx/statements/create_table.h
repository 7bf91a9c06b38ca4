// CREATE TABLE: a new empty table file, with its .MB file when it has blob fields and its
// primary index when it is keyed.
#pragma once

#include "pdx/value.h"

#include <cstddef>
#include <string>
#include <vector>

namespace pdx {

// Throws pdx::Error naming the table when it exists already or the fields are not valid;
// then nothing is written.
void createTable(const std::string& table, const std::vector<FieldDef>& fields,
                 std::size_t keyFieldCount);

}  // namespace pdx
