// The header of a new, empty table, laid out as Paradox 7 writes it.
#pragma once

#include "pdx/value.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pdx {

constexpr std::uint16_t kNewTableCodePage = 1251;

struct NewTable {
    std::vector<FieldDef> fields;  // names in UTF-8
    std::size_t keyFieldCount = 0;
    std::string fileName;  // the table's own file name, kept in the header
    std::uint16_t codePage = kNewTableCodePage;
};

// Block size in KiB for records of this size: a power of two that holds several records.
std::uint32_t blockSizeKiBFor(std::size_t recordSize);

// Header bytes (whole units of 2 KiB). Throws pdx::Error when a field name cannot be written
// in the code page.
std::vector<std::uint8_t> buildHeader(const NewTable& table);

}  // namespace pdx
