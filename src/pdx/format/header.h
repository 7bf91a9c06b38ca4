// A table's header: read and checked, kept as stored so writers change only what they must.
#pragma once

#include "os/fs.h"
#include "pdx/format/codepage.h"
#include "pdx/table.h"
#include "pdx/value.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pdx {

struct Header {
    std::vector<std::uint8_t> bytes;    // all headerSize bytes as stored
    TableInfo info;
    std::vector<FieldDef> fields;
    std::vector<std::size_t> offsets;   // where each field starts in a record
    std::uint16_t firstBlock = 0;
    std::uint32_t physicalBlocks = 0;   // whole blocks the file holds after the header
    CodePage codePage{0};

    std::size_t keySize() const;        // bytes taken by the key fields at a record's start
};

// Checks a header's bytes against the size of its file. Throws pdx::Error naming `table`.
Header parseHeader(std::vector<std::uint8_t> bytes, std::uint64_t fileSize,
                   const std::string& table);

// Reads and checks the header of an open table file.
Header readHeader(const os::File& file, const std::string& table);

}  // namespace pdx
