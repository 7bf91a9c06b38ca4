// Delphi's text form description (.dfm): nested "object Name: TClass ... end" blocks of
// "Property = value" lines. Strings are UTF-8 in the file; #13#10-style codes join them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ui {

struct DfmValue {
    enum class Kind { Integer, String, Identifier, Set, Binary, StringList };
    Kind kind = Kind::Integer;
    std::int64_t integer = 0;
    std::string text;                 // String (UTF-8) or Identifier
    std::vector<std::string> items;   // Set members or StringList lines
    std::vector<std::uint8_t> bytes;  // Binary

    // Typed access; throws ui::Error naming the property when the kind differs.
    std::int64_t asInteger(const std::string& property) const;
    const std::string& asString(const std::string& property) const;
    const std::string& asIdentifier(const std::string& property) const;
    bool asBoolean(const std::string& property) const;  // the identifiers True / False
    const std::vector<std::string>& asSet(const std::string& property) const;
};

struct DfmObject {
    std::string name;
    std::string className;
    std::vector<std::pair<std::string, DfmValue>> properties;  // in file order
    std::vector<DfmObject> children;                           // in file order
};

// Parses one top-level object; throws ui::Error with the line number on malformed text.
DfmObject parseDfm(std::string_view text);

}  // namespace ui
