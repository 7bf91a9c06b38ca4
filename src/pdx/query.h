// Reading a table with SELECT: the rows the statement selects, one at a time.
#pragma once

#include "pdx/value.h"

#include <memory>
#include <string_view>
#include <vector>

namespace pdx {

// Whether the statement is a SELECT, which a Query runs, rather than a statement that
// changes a table, which pdx::execute runs. Looks at the first word only.
bool isQuery(std::string_view statement);

// One `SELECT * | COUNT(*) | <field>, ... FROM <table> [WHERE <condition>]`, with the
// conditions DELETE takes and fields matched by name in any case. The table is read as the
// rows are asked for, in one pass along its blocks: memory does not grow with the table.
// While the query lives the table is open for reading (shared with other readers).
class Query {
public:
    // Parses the statement (UTF-8), opens the table and binds the columns and the condition
    // to its fields. Throws pdx::Error (Russian, naming the table): a syntax error, a missing
    // table or field, a statement other than SELECT.
    explicit Query(std::string_view statement);
    ~Query();
    Query(Query&&) noexcept;
    Query& operator=(Query&&) noexcept;

    // The result's columns: the fields named, in the statement's order (all the table's for
    // *), as the table defines them; for COUNT(*), one integer column named COUNT(*).
    const std::vector<FieldDef>& columns() const;
    // True for COUNT(*): its one row holds the number of rows the condition selects.
    bool counts() const;

    // Moves to the next row; false after the last. Throws pdx::Error for a corrupt table or
    // a value that cannot be read.
    bool next();
    // The current row's values, one per column (text as UTF-8).
    const std::vector<Value>& values() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace pdx
