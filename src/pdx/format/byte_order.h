// Which stored fields sort as Paradox orders their values when compared byte by byte.
#pragma once

#include "pdx/format/db_format.h"
#include "pdx/value.h"

#include <string>

namespace pdx {

// Numbers, dates, times and logical values are stored big-endian with the sign bit flipped
// (blank as zeros, first), so their bytes sort as their values whatever the sort order.
inline bool bytesSortAsValues(FieldType type) {
    switch (type) {
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoInc:
    case FieldType::Currency:
    case FieldType::Number:
    case FieldType::Date:
    case FieldType::Time:
    case FieldType::Timestamp:
    case FieldType::Logical: return true;
    default: return false;
    }
}

// Text sorts as its bytes only under the "ascii" sort order.
inline bool sortsTextAsBytes(const TableInfo& info) {
    return info.sortOrderName.empty() ? info.sortOrder == format::kAsciiSortOrderByte
                                      : info.sortOrderName == format::kAsciiSortOrder;
}

// The sort order as the header names it, for messages.
inline std::string sortOrderText(const TableInfo& info) {
    return "порядок сортировки " + (info.sortOrderName.empty() ? "с кодом " + std::to_string(info.sortOrder)
                                                               : "\"" + info.sortOrderName + "\"");
}

}  // namespace pdx
