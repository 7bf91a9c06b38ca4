// Small UTF-8 text helpers the SQL front end shares: case folding of names and quoting
// in messages.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pdx::sql {

// Lower case of Latin and Cyrillic letters; other bytes are kept as they are.
std::string foldCase(std::string_view text);

bool sameName(std::string_view a, std::string_view b);

// Number of characters (code points) in UTF-8 text.
std::size_t characterCount(std::string_view text);

// «text», for naming things in messages.
std::string quoted(std::string_view text);

// The text cut to its first `maxCharacters` characters, with "…" when something was cut.
std::string abbreviated(std::string_view text, std::size_t maxCharacters);

}  // namespace pdx::sql
