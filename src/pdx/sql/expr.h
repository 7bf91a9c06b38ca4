// A parsed WHERE condition: comparisons of a field with a literal and IS [NOT] NULL,
// combined by AND, OR and NOT.
#pragma once

#include "pdx/sql/ast.h"

#include <memory>
#include <string>

namespace pdx::sql {

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

}  // namespace pdx::sql
