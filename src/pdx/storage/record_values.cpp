#include "pdx/storage/record_values.h"

#include "pdx/format/field_codec.h"
#include "pdx/format/field_layout.h"

namespace pdx {

Value fieldValue(const std::uint8_t* record, const Header& header, std::size_t i, const BlobFile* blobs) {
    const FieldDef& field = header.fields[i];
    const std::uint8_t* data = record + header.offsets[i];
    if (!isBlobType(field.type)) return decodeField(data, field, header.codePage);
    const auto blob = blobs ? blobs->read(data, field) : BlobFile::readInRecord(data, field);
    if (!blob) return {};
    if (field.type == FieldType::Memo || field.type == FieldType::FormattedMemo) {
        return decodeText(*blob, field, header.codePage);
    }
    return Binary{std::vector<std::uint8_t>(blob->begin(), blob->end())};
}

}  // namespace pdx
