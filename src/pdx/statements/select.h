// SELECT: the rows a condition selects, read in one pass along the table's block chain, one
// block in memory at a time. A row's fields are decoded only when the condition or the
// columns need them.
#pragma once

#include "pdx/sql/ast.h"
#include "pdx/value.h"

#include <memory>
#include <vector>

namespace pdx {

class Selection {
public:
    // Opens the table for reading (shared with other readers) and binds the columns and the
    // condition to its fields. Throws pdx::Error or os::Error.
    explicit Selection(const sql::Select& statement);
    ~Selection();
    Selection(Selection&&) noexcept;
    Selection& operator=(Selection&&) noexcept;

    // The fields named (every field for *); for COUNT(*) one integer column "COUNT(*)".
    const std::vector<FieldDef>& columns() const;
    bool counts() const;
    // Moves to the next row the condition selects; false after the last. COUNT(*) reads the
    // whole table at its first row. Throws pdx::Error or os::Error.
    bool next();
    // The current row, one value per column.
    const std::vector<Value>& values() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace pdx
