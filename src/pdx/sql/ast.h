// The engine's local SQL as parsed: literals, WHERE conditions and statements.
#pragma once

#include "pdx/value.h"

#include <cstddef>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace pdx::sql {

// A literal as written in a statement.
struct Null {};
struct Number {
    std::string text;  // as written: optional sign, digits, optional point and digits
    bool isInteger() const;
};
using Literal = std::variant<Null, Number, std::string /*UTF-8*/, bool>;

// A WHERE condition: comparisons of a field with a literal and IS [NOT] NULL, combined by
// AND, OR and NOT.
enum class CompareOp { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual };

struct Expr {
    enum class Kind { And, Or, Not, Compare, IsNull, IsNotNull };
    Kind kind;
    std::shared_ptr<const Expr> left;   // And, Or, Not
    std::shared_ptr<const Expr> right;  // And, Or
    std::string field;                  // Compare, IsNull, IsNotNull
    CompareOp op = CompareOp::Equal;    // Compare: field op literal
    Literal literal;                    // Compare
};

struct Delete {
    std::string table;                  // the file path: a quoted path as written, or a bare name + ".db"
    std::shared_ptr<const Expr> where;  // null when there is no WHERE
};

struct CreateTable {
    std::string table;
    std::vector<FieldDef> fields;   // types and sizes as stored in the header
    std::size_t keyFieldCount = 0;  // the primary key is the leading fields
};

struct Insert {
    std::string table;
    std::vector<std::string> columns;  // empty: all fields in order
    std::vector<std::vector<Literal>> rows;
};

// SELECT: fields of the rows the condition selects, or how many rows it selects.
struct Select {
    std::string table;
    std::vector<std::string> columns;   // the fields named, in order; empty for * and COUNT(*)
    bool count = false;                 // SELECT COUNT(*)
    std::shared_ptr<const Expr> where;  // null when there is no WHERE
};

using Statement = std::variant<Delete, CreateTable, Insert, Select>;

}  // namespace pdx::sql
