// The engine's local SQL: statements parsed from text, and conditions bound to a table's
// fields.
#pragma once

#include "pdx/value.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace pdx::sql {

struct Expr;  // a parsed condition; defined by the parser

// A literal as written in a statement.
struct Null {};
struct Number {
    std::string text;  // as written: optional sign, digits, optional point and digits
    bool isInteger() const;
};
using Literal = std::variant<Null, Number, std::string /*UTF-8*/, bool>;

struct Delete {
    std::string table;  // the file path: a quoted path as written, or a bare name + ".db"
    std::shared_ptr<const Expr> where;  // null when there is no WHERE
};

struct CreateTable {
    std::string table;
    std::vector<FieldDef> fields;       // types and sizes as stored in the header
    std::size_t keyFieldCount = 0;      // the primary key is the leading fields
};

struct Insert {
    std::string table;
    std::vector<std::string> columns;            // empty: all fields in order
    std::vector<std::vector<Literal>> rows;
};

using Statement = std::variant<Delete, CreateTable, Insert>;

// Parses one statement. Throws pdx::Error naming the problem and where it is.
Statement parse(std::string_view text);

// Converts a literal to the value a field of this type stores; throws pdx::Error on a type
// mismatch or a value out of range (the message names the table and the field).
Value toFieldValue(const Literal& literal, const FieldDef& field, const std::string& table);

// A condition bound to a table's fields: names resolved (case-insensitively), types checked.
class Predicate {
public:
    // `where` may be null (every row matches). Throws pdx::Error for unknown fields and type
    // mismatches; the message names the table.
    Predicate(const Expr* where, const std::vector<FieldDef>& fields, const std::string& table);
    ~Predicate();
    Predicate(Predicate&&) noexcept;
    Predicate& operator=(Predicate&&) noexcept;

    // The indexes of the fields the condition reads.
    const std::vector<std::size_t>& fieldsUsed() const;

    // True only when the condition is TRUE for the row (UNKNOWN and FALSE give false).
    // `valueOf(i)` yields the value of field i; it is called only for fieldsUsed().
    bool matches(const std::function<Value(std::size_t)>& valueOf) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace pdx::sql
