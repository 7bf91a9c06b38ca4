// CREATE TABLE: a new empty table file, with its .MB file when it has blob fields and its
// primary index when it is keyed, put in place in one commit.
#pragma once

#include "pdx/sql/ast.h"

namespace pdx {

// Throws pdx::Error when the table exists already or the fields are not valid, or os::Error;
// then nothing is written.
void createTable(const sql::CreateTable& statement);

}  // namespace pdx
