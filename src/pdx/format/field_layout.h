// Field types: their widths in a record, their families and the limits of a table's fields.
#pragma once

#include "pdx/value.h"

#include <cstddef>
#include <cstdint>

namespace pdx {

constexpr std::size_t kBcdWidth = 17;
constexpr int kBcdMaxScale = 32;
constexpr int kBcdDigits = 32;
constexpr std::size_t kMaxAlphaSize = 255;
constexpr std::size_t kMaxBytesSize = 255;
constexpr std::size_t kMaxBlobFieldSize = 250;   // in-record part plus the .MB reference
constexpr std::size_t kMaxFieldNameLength = 25;  // characters
constexpr std::size_t kMaxFields = 255;
// The largest values of short and long fields: each type's smallest pattern means blank.
constexpr std::int64_t kMaxShort = 32767;
constexpr std::int64_t kMaxLong = 2147483647;

// Bytes the field takes in a record.
std::size_t fieldWidth(const FieldDef& field);
// True for memo, formatted memo, blob, OLE and graphic fields (stored partly in the .MB).
bool isBlobType(FieldType type);
// True when the header's type byte and size byte describe a field this engine knows.
bool isValidField(std::uint8_t type, std::uint8_t size);

}  // namespace pdx
