#include "pdx/statements/create_table.h"

#include "os/fs.h"
#include "pdx/storage/blob_writer.h"
#include "pdx/format/field_layout.h"
#include "pdx/format/db_format.h"
#include "pdx/format/header.h"
#include "pdx/format/messages.h"
#include "pdx/format/new_header.h"
#include "pdx/storage/primary_index.h"
#include "pdx/storage/commit.h"
#include "pdx/storage/table_files.h"

#include <algorithm>

namespace pdx {
namespace {

constexpr std::size_t kMaxFieldNameLength = 25;
constexpr std::size_t kMaxFields = 255;

void checkFields(const std::vector<FieldDef>& fields, std::size_t keys, const std::string& table) {
    if (fields.empty() || fields.size() > kMaxFields) throw tableError(table, "недопустимое число полей");
    if (keys > fields.size()) throw tableError(table, "ключ длиннее списка полей");
    std::size_t recordSize = 0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const FieldDef& f = fields[i];
        if (f.name.empty() || f.name.size() > kMaxFieldNameLength * 2) {
            throw tableError(table, "недопустимое имя поля \"" + f.name + "\"");
        }
        if (!isValidField(static_cast<std::uint8_t>(f.type), f.size)) {
            throw tableError(table, "поле \"" + f.name + "\": недопустимый тип или размер");
        }
        if (i < keys && isBlobType(f.type)) {
            throw tableError(table, "поле \"" + f.name + "\" не может входить в ключ");
        }
        for (std::size_t k = 0; k < i; ++k) {
            if (equalsIgnoringCase(fields[k].name, f.name)) {
                throw tableError(table, "поле \"" + f.name + "\" повторяется");
            }
        }
        recordSize += fieldWidth(f);
    }
    if (recordSize + format::kBlockHeader > format::kMaxBlockSizeKiB * format::kKiB) {
        throw tableError(table, "запись длиннее допустимого");
    }
}

}  // namespace

void createTable(const std::string& table, const std::vector<FieldDef>& fields,
                 std::size_t keyFieldCount) {
    checkFields(fields, keyFieldCount, table);
    if (!findIgnoringCase(table).empty()) throw tableError(table, "таблица уже существует");
    NewTable layout{fields, keyFieldCount, os::nameOf(table)};
    std::vector<std::uint8_t> bytes = buildHeader(layout, table);
    const bool hasBlobs = std::any_of(fields.begin(), fields.end(),
                                      [](const FieldDef& f) { return isBlobType(f.type); });
    const std::string aside = asidePath(table);
    const std::string mbPath = companionPath(table, ".MB");
    const std::string pxPath = companionPath(table, ".PX");
    try {
        removeLeftovers(table);
        {
            os::File file(aside, os::File::Mode::CreateNew);
            file.append(bytes.data(), bytes.size());
            file.sync();
        }
        if (hasBlobs) BlobWriter::createEmpty(asidePath(mbPath));
        if (keyFieldCount > 0) {
            const Header header = parseHeader(bytes, bytes.size(), table);
            writePrimaryIndex(asidePath(pxPath), os::nameOf(pxPath), header, bytes, {}, {});
        }
        // Companions first: a table file without them would be incomplete.
        if (hasBlobs) os::replaceFile(asidePath(mbPath), mbPath);
        if (keyFieldCount > 0) os::replaceFile(asidePath(pxPath), pxPath);
        os::replaceFile(aside, table);
    } catch (const os::Error& e) {
        for (const auto& path : {aside, asidePath(mbPath), asidePath(pxPath)}) removeQuietly(path);
        throw fileError(table, e);
    }
}

}  // namespace pdx
