#include "pdx/storage/open_table.h"

#include "pdx/error.h"
#include "pdx/format/db_format.h"
#include "pdx/format/field_layout.h"
#include "pdx/format/mb_format.h"
#include "pdx/storage/commit.h"
#include "pdx/storage/table_files.h"

#include <algorithm>

namespace pdx {
namespace {

// Opens the table file, first completing or undoing what a killed statement left beside it.
// That is done holding the file, so as not to meddle with a statement still under way; a
// reader that finds the table held leaves it to that statement.
os::File openRecovered(const std::string& path, os::File::Mode mode) {
    if (mode == os::File::Mode::Read) {
        if (needsRecovery(path)) {
            try {
                const os::File hold(path, os::File::Mode::ReadExclusive);
                recover(path);
            } catch (const os::Error& e) {
                if (e.kind() != os::ErrorKind::Busy) throw;
            }
        }
        return os::File(path, mode);
    }
    os::File held(path, mode);
    const bool decided = hasCommitRecord(path);
    recover(path);
    if (!decided) return held;
    // The table file may have been replaced: hold the one now in place.
    held.close();
    return os::File(path, mode);
}

}  // namespace

Header readHeader(const os::File& file, HeaderOf kind) {
    const std::uint64_t size = file.size();
    std::vector<std::uint8_t> first(std::min<std::uint64_t>(size, format::kDataHeaderEnd));
    if (!first.empty()) file.readAt(0, first.data(), first.size());
    std::vector<std::uint8_t> all(headerSizeOf(first, size));
    file.readAt(0, all.data(), all.size());
    return parseHeader(std::move(all), size, kind);
}

OpenTable openTable(const std::string& table, os::File::Mode mode) {
    OpenTable open;
    open.path = findIgnoringCase(table);
    if (open.path.empty()) {
        // A table whose creation was interrupted after it was decided.
        if (needsRecovery(table)) recover(table);
        open.path = findIgnoringCase(table);
        if (open.path.empty()) throw os::Error(os::ErrorKind::NotFound, table, "");
    }
    open.file = openRecovered(open.path, mode);
    open.header = readHeader(open.file);
    return open;
}

void requireReadableRecords(const Header& header) {
    // Paradox 3.x keeps the key where later versions put the mark that it moved.
    if (header.info.level < format::kFirstLevelWithDataHeader && header.key == format::kEncryptionMoved) {
        throw Error::refused(
            "таблица защищена паролем, но ключ к ней не найден: у таблицы Paradox 3 на месте ключа "
            "метка FF00FF00, которая бывает лишь в таблицах Paradox 4 и новее");
    }
}

void openBlobs(OpenTable& open) {
    const auto& fields = open.header.fields;
    if (std::none_of(fields.begin(), fields.end(), [](const FieldDef& f) { return isBlobType(f.type); })) {
        return;
    }
    const std::string mbPath = findCompanion(open.path, format::mb::kExtension);
    if (!mbPath.empty()) open.blobs = std::make_unique<BlobFile>(mbPath, open.header.key);
}

}  // namespace pdx
