#include "pdx/storage/open_table.h"

#include "pdx/format/field_layout.h"
#include "pdx/format/messages.h"
#include "pdx/storage/table_files.h"

#include <algorithm>

namespace pdx {

OpenTable openTable(const std::string& table, os::File::Mode mode) {
    OpenTable open;
    open.path = findIgnoringCase(table);
    if (open.path.empty()) {
        throw fileError(table, os::Error(os::ErrorKind::NotFound, table, ""));
    }
    try {
        open.file = os::File(open.path, mode);
        open.header = readHeader(open.file, table);
    } catch (const os::Error& e) {
        throw fileError(table, e);
    }
    return open;
}

void requireReadableRecords(const Header& header, const std::string& table) {
    if (header.info.encrypted) {
        throw tableError(table, "таблица защищена паролем; такие таблицы не поддерживаются");
    }
}

void openBlobs(OpenTable& open, const std::string& table) {
    const auto& fields = open.header.fields;
    if (std::none_of(fields.begin(), fields.end(),
                     [](const FieldDef& f) { return isBlobType(f.type); })) {
        return;
    }
    const std::string mbPath = findCompanion(open.path, ".MB");
    if (!mbPath.empty()) open.blobs = std::make_unique<BlobFile>(mbPath, table);
}

}  // namespace pdx
