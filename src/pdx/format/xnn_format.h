// The secondary index files beside a table. An index's entries file (.Xnn, .XGn) is laid out
// like a table whose records are the entries, in index order: the indexed field(s), the
// table's primary key, and a short holding the number of the table's data block where the
// row lives (stored like the .PX's shorts). Its key fields are all but that last short. Its
// tree file (.Ynn, .YGn) is laid out like a .PX over the entries file's blocks.
// .Xnn index the field whose number the extension gives (hex); .XGn are named indexes, of one
// field or several. A maintained index follows every change of the table; Paradox marks a
// non-maintained one out of date and rebuilds it when it uses it. Each offset and constant is
// named once, here.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pdx::format::xnn {

// The letters of the extensions: ".X01", ".Y01", ".XG0", ".YG0".
constexpr char kEntriesLetter = 'X';
constexpr char kTreeLetter = 'Y';
constexpr char kNamedLetter = 'G';

// File types (header byte kFileType).
constexpr std::uint8_t kEntries = 0x03;            // .Xnn, non-maintained
constexpr std::uint8_t kTree = 0x04;               // .Ynn
constexpr std::uint8_t kMaintainedEntries = 0x05;  // .Xnn
constexpr std::uint8_t kNamedEntries = 0x06;       // .XGn, non-maintained
constexpr std::uint8_t kNamedTree = 0x07;          // .YGn
constexpr std::uint8_t kMaintainedNamedEntries = 0x08;

// Header fields of an entries file beyond a table's.
constexpr std::size_t kFirstIndexedField = 0x15;  // u8, the table's number of the first indexed field
constexpr std::size_t kTableChangeCount = 0x2F;   // u8, the table's change count when written
constexpr std::size_t kOptions = 0x55;            // u8, kDescending; other bits not known

constexpr std::size_t kBlockNumberSize = 2;  // the entry's last field, a short

constexpr std::uint8_t kDescending = 0x10;          // in kOptions
constexpr std::uint16_t kDescendingField = 0x8000;  // in a field number after the field names

// The first entries files this engine knows are those of level 5 (the types differ before).
constexpr std::uint8_t kFirstLevel = 0x05;

inline bool isEntries(std::uint8_t type) {
    return type == kEntries || type == kMaintainedEntries || type == kNamedEntries ||
           type == kMaintainedNamedEntries;
}
inline bool isMaintained(std::uint8_t type) {
    return type == kMaintainedEntries || type == kMaintainedNamedEntries;
}
inline bool isNamed(std::uint8_t type) { return type == kNamedEntries || type == kMaintainedNamedEntries; }
inline std::uint8_t treeTypeOf(std::uint8_t entriesType) { return isNamed(entriesType) ? kNamedTree : kTree; }

}  // namespace pdx::format::xnn
