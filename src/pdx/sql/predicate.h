// Conditions bound to a table's fields and evaluated with three-valued logic: a comparison
// with a blank value is UNKNOWN, and only TRUE makes a row match.
#pragma once

#include "pdx/sql/ast.h"
#include "pdx/value.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace pdx::sql {

// The index of the field `name` names, matched case-insensitively. Throws pdx::Error when the
// table has no such field.
std::size_t fieldIndex(const std::vector<FieldDef>& fields, const std::string& name);

// A condition bound to a table's fields: names resolved (case-insensitively), types checked.
class Predicate {
public:
    // `where` may be null (every row matches). Throws pdx::Error for unknown fields and type
    // mismatches.
    Predicate(const Expr* where, const std::vector<FieldDef>& fields);
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
