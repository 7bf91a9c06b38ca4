// Field types: their widths in a record and their families.
#pragma once

#include "pdx/value.h"

#include <cstddef>
#include <cstdint>

namespace pdx {

constexpr std::size_t kBcdWidth = 17;
constexpr int kBcdMaxScale = 32;

// Bytes the field takes in a record.
std::size_t fieldWidth(const FieldDef& field);
// True for memo, formatted memo, blob, OLE and graphic fields (stored partly in the .MB).
bool isBlobType(FieldType type);
// True when the header's type byte and size byte describe a field this engine knows.
bool isValidField(std::uint8_t type, std::uint8_t size);

}  // namespace pdx
