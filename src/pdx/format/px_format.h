// The primary index file (.PX) of a keyed table: a header laid out like a table's, then
// blocks of entries. A level-1 entry is the key of a data block's first record followed by
// three shorts: the block's number, its record count and an unused one; the entries of an
// upper level index the blocks of the level below in the same way.
#pragma once

#include "pdx/format/db_format.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace pdx::format::px {

constexpr const char* kExtension = ".PX";

// Header fields of index files only (the rest is the table's common header).
constexpr std::size_t kRoot = 0x1E;              // u16, the root block
constexpr std::size_t kLevels = 0x20;            // u8
constexpr std::size_t kTableChangeCount = 0x2C;  // u8, the table's change count when written

constexpr std::size_t kHeaderSize = 0x800;
constexpr std::uint32_t kMinBlockSizeKiB = 2;
constexpr std::size_t kMinEntriesPerBlock = 3;
constexpr std::uint32_t kAutoIncrementValue = 1;  // what Paradox keeps at kAutoIncrement
constexpr std::size_t kEntryTail = 6;             // block number, record count, unused
constexpr std::uint32_t kMaxCount = 0x7FFF;       // counts above this are capped

// Index shorts are stored like the table's short fields: big-endian, sign bit flipped.
inline void putShort(std::uint8_t* p, std::uint16_t v) {
    const auto stored = static_cast<std::uint16_t>(v ^ 0x8000);
    p[0] = static_cast<std::uint8_t>(stored >> 8);
    p[1] = static_cast<std::uint8_t>(stored);
}

// A count of records, capped where a short ends.
inline void putCount(std::uint8_t* p, std::uint32_t count) {
    putShort(p, static_cast<std::uint16_t>(std::min(count, kMaxCount)));
}

inline std::uint32_t getShort(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(((p[0] << 8) | p[1]) ^ 0x8000);
}

}  // namespace pdx::format::px
