// A table's header: read and checked, kept as stored so writers change only what they must.
#pragma once

#include "pdx/format/codepage.h"
#include "pdx/value.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pdx {

struct Header {
    std::vector<std::uint8_t> bytes;  // all headerSize bytes as stored
    TableInfo info;
    std::vector<FieldDef> fields;
    std::vector<std::size_t> offsets;         // where each field starts in a record
    std::vector<std::uint16_t> fieldNumbers;  // as stored after the field names; empty when absent
    std::uint16_t firstBlock = 0;
    std::uint32_t physicalBlocks = 0;  // blocks the file holds after the header
    std::uint32_t lastBlockBytes = 0;  // of the last of them: less than a block when the file ends early
    std::uint32_t key = 0;             // the key a protected file's blocks are scrambled with; 0: none
    CodePage codePage{0};

    std::size_t keySize() const;  // bytes taken by the key fields at a record's start
};

// The header's size as a file's first bytes give it. Throws pdx::Error when it cannot be the
// header of a file of `fileSize` bytes.
std::size_t headerSizeOf(const std::vector<std::uint8_t>& first, std::uint64_t fileSize);

// The files whose headers are laid out like a table's.
enum class HeaderOf { Table, SecondaryIndex };

// Checks a header's bytes against the size of its file: a table's, or a secondary index's
// entries file (.Xnn, .XGn) of level 5 or later. Throws pdx::Error.
Header parseHeader(std::vector<std::uint8_t> bytes, std::uint64_t fileSize, HeaderOf kind = HeaderOf::Table);

}  // namespace pdx
