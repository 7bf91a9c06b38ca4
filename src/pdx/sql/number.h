// Exact decimal numbers for literals: reading a literal's text and comparing values.
#pragma once

#include "pdx/value.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace pdx::sql {

// Reads "[+|-]digits[.digits]" (also ".5", "5."). Leading zeros are dropped from the
// digits, so zero is "0"; the sign of zero is positive. nullopt for other text.
std::optional<Decimal> parseDecimal(std::string_view text);

// Orders two decimals by value: negative, zero or positive.
int compareDecimals(const Decimal& a, const Decimal& b);

// Compares integers with one decimal fixed in advance, without building strings per row.
class IntegerBound {
public:
    explicit IntegerBound(const Decimal& value);
    // Orders `value` against the decimal: negative, zero or positive.
    int compare(std::int64_t value) const;

private:
    std::int64_t floor_ = 0;  // the largest integer not above the decimal, when in range
    bool fraction_ = false;   // the decimal lies strictly between floor_ and floor_ + 1
    int beyond_ = 0;          // +1: above every int64, -1: below every int64
};

}  // namespace pdx::sql
