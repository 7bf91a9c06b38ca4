#include "pdx/format/field_layout.h"

#include "pdx/format/mb_format.h"

namespace pdx {

std::size_t fieldWidth(const FieldDef& field) {
    return field.type == FieldType::Bcd ? kBcdWidth : field.size;
}

bool isBlobType(FieldType type) {
    switch (type) {
    case FieldType::Memo:
    case FieldType::Blob:
    case FieldType::FormattedMemo:
    case FieldType::Ole:
    case FieldType::Graphic: return true;
    default: return false;
    }
}

bool isValidField(std::uint8_t type, std::uint8_t size) {
    switch (static_cast<FieldType>(type)) {
    case FieldType::Alpha:
    case FieldType::Bytes: return size >= 1;
    case FieldType::Date:
    case FieldType::Long:
    case FieldType::Time:
    case FieldType::AutoInc: return size == 4;
    case FieldType::Short: return size == 2;
    case FieldType::Currency:
    case FieldType::Number:
    case FieldType::Timestamp: return size == 8;
    case FieldType::Logical: return size == 1;
    case FieldType::Memo:
    case FieldType::Blob:
    case FieldType::FormattedMemo:
    case FieldType::Ole:
    case FieldType::Graphic: return size >= format::mb::kReferenceSize && size <= kMaxBlobFieldSize;
    case FieldType::Bcd: return size <= kBcdMaxScale;
    }
    return false;
}

}  // namespace pdx
