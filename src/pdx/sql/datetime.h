// Dates and times written as text in statements: 'YYYY-MM-DD', 'HH:MM[:SS[.fff]]' and
// 'YYYY-MM-DD HH:MM[:SS[.fff]]' (one to three digits of a second after the point).
#pragma once

#include "pdx/value.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace pdx::sql {

std::optional<Date> parseDate(std::string_view text);
std::optional<Time> parseTime(std::string_view text);
// A date alone stands for its midnight.
std::optional<Timestamp> parseTimestamp(std::string_view text);

}  // namespace pdx::sql
