// Field values in a record's bytes: numbers big-endian with the sign bit flipped (so that
// all-zero bytes mean blank), text in the table's code page, blobs as references.
#pragma once

#include "pdx/format/codepage.h"
#include "pdx/value.h"

#include <cstdint>
#include <string>

namespace pdx {

class BlobFile;

// Decodes one field. `blobs` may be null when the table has no .MB file.
Value decodeField(const std::uint8_t* data, const FieldDef& field, const CodePage& codePage,
                  const BlobFile* blobs, const std::string& table);

// Encodes a non-blob value into fieldWidth(field) bytes at `out` (monostate: blank).
// Throws pdx::Error naming the table and field when the value does not fit the field.
void encodeField(const Value& value, const FieldDef& field, const CodePage& codePage,
                 std::uint8_t* out, const std::string& table);

}  // namespace pdx
