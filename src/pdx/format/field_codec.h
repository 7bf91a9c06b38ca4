// Field values in a record's bytes: numbers big-endian with the sign bit flipped (so that
// all-zero bytes mean blank), text in the table's code page. Blob fields are the storage
// layer's: their data may live in the .MB file.
#pragma once

#include "pdx/format/codepage.h"
#include "pdx/value.h"

#include <cstdint>
#include <string>

namespace pdx {

// Decodes one field that is not a blob. Throws pdx::Error naming the field.
Value decodeField(const std::uint8_t* data, const FieldDef& field, const CodePage& codePage);

// Encodes a non-blob value into fieldWidth(field) bytes at `out` (monostate: blank).
// Throws pdx::Error naming the field when the value does not fit it.
void encodeField(const Value& value, const FieldDef& field, const CodePage& codePage, std::uint8_t* out);

// Text of a field between the code page and UTF-8. Throws pdx::Error naming the field.
std::string decodeText(const std::string& bytes, const FieldDef& field, const CodePage& codePage);
std::string encodeText(const std::string& text, const FieldDef& field, const CodePage& codePage);

}  // namespace pdx
