// The engine's entry: one SQL statement in, the number of rows it changed out.
#pragma once

#include <cstdint>
#include <string_view>

namespace pdx {

// Runs one statement (DELETE, CREATE TABLE or INSERT). The text is UTF-8; lines may end in
// CR LF. Returns the number of rows deleted or inserted (0 for CREATE TABLE).
// Throws pdx::Error; on error no table has changed.
std::int64_t execute(std::string_view statement);

}  // namespace pdx
