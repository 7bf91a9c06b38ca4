// The values of a record's fields, blob data read from the table's .MB file.
#pragma once

#include "pdx/format/header.h"
#include "pdx/storage/blob_file.h"
#include "pdx/value.h"

#include <cstdint>

namespace pdx {

// The value of field `i` of `record`. `blobs` may be null when the table has no .MB file.
Value fieldValue(const std::uint8_t* record, const Header& header, std::size_t i, const BlobFile* blobs);

}  // namespace pdx
