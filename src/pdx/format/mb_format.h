// The blob file (.MB) beside a table: memo, blob, OLE and graphic data longer than a field's
// in-record part, in 4 KiB blocks. A blob field ends in a reference into this file.
#pragma once

#include "pdx/format/bytes.h"

#include <cstddef>
#include <cstdint>

namespace pdx::format::mb {

constexpr const char* kExtension = ".MB";
constexpr std::size_t kBlockSize = 4096;
constexpr std::uint8_t kHeaderBlock = 0;
constexpr std::uint8_t kSingleBlob = 2;    // one blob spanning whole blocks
constexpr std::uint8_t kSubAllocated = 3;  // up to 64 small blobs in one block
constexpr std::size_t kSingleHeader = 9;   // type, block count, length, modification number
constexpr std::size_t kGraphicExtra = 8;   // graphics carry 8 more header bytes
constexpr std::size_t kSubTableAt = 12;    // sub-allocated block: table of 5-byte entries
constexpr std::size_t kSubEntry = 5;
constexpr std::size_t kSubEntries = 64;
constexpr std::size_t kSubUnit = 16;
constexpr std::uint16_t kModificationNumber = 1;

// The first bytes of the header block as Paradox writes them; the rest of it is zero.
constexpr std::uint8_t kHeaderStart[] = {0x00, 0x01, 0x00, 0x01, 0x00, 0x82, 0x73, 0x02, 0x00, 0x29, 0x00,
                                         0x00, 0x10, 0x00, 0x10, 0x00, 0x10, 0x40, 0x00, 0x00, 0x08, 0x00,
                                         0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                                         0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xA1, 0x02};

// The reference a blob field ends in: the block's offset with the blob's index in its low
// byte (kSingleBlobIndex for a blob of its own), the length, the modification number.
constexpr std::size_t kReferenceSize = 10;
constexpr std::uint8_t kSingleBlobIndex = 0xFF;

struct Reference {
    std::uint32_t offset;  // block start in the .MB
    std::uint8_t index;    // entry in a sub-allocated block, or kSingleBlobIndex
    std::uint32_t length;
    std::size_t leader;  // bytes of the data kept in the record
};

// The reference at the end of a blob field of `fieldSize` bytes.
inline Reference readReference(const std::uint8_t* field, std::size_t fieldSize) {
    const std::size_t leader = fieldSize - kReferenceSize;
    const std::uint8_t* ref = field + leader;
    const std::uint32_t where = bytes::le32(ref);
    return {where & 0xFFFFFF00u, static_cast<std::uint8_t>(where & 0xFF), bytes::le32(ref + 4), leader};
}

inline void writeReference(std::uint8_t* field, std::size_t fieldSize, const Reference& reference,
                           std::uint16_t modification) {
    std::uint8_t* ref = field + fieldSize - kReferenceSize;
    bytes::putLe32(ref, reference.offset | reference.index);
    bytes::putLe32(ref + 4, reference.length);
    bytes::putLe16(ref + 8, modification);
}

}  // namespace pdx::format::mb
