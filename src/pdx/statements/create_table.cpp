#include "pdx/statements/create_table.h"

#include "os/fs.h"
#include "pdx/error.h"
#include "pdx/format/db_format.h"
#include "pdx/format/field_layout.h"
#include "pdx/format/header.h"
#include "pdx/format/mb_format.h"
#include "pdx/format/new_header.h"
#include "pdx/format/px_format.h"
#include "pdx/storage/blob_writer.h"
#include "pdx/storage/commit.h"
#include "pdx/storage/primary_index.h"
#include "pdx/storage/table_files.h"

#include <algorithm>

namespace pdx {
namespace {

void checkFields(const std::vector<FieldDef>& fields, std::size_t keys) {
    if (fields.empty() || fields.size() > kMaxFields) throw Error::refused("недопустимое число полей");
    if (keys > fields.size()) throw Error::refused("ключ длиннее списка полей");
    std::size_t recordSize = 0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const FieldDef& f = fields[i];
        // Names are UTF-8: a Cyrillic character takes two bytes.
        if (f.name.empty() || f.name.size() > kMaxFieldNameLength * 2) {
            throw Error::refused("недопустимое имя поля \"" + f.name + "\"");
        }
        if (!isValidField(static_cast<std::uint8_t>(f.type), f.size)) {
            throw Error::refused("поле \"" + f.name + "\": недопустимый тип или размер");
        }
        if (i < keys && isBlobType(f.type)) {
            throw Error::refused("поле \"" + f.name + "\" не может входить в ключ");
        }
        for (std::size_t k = 0; k < i; ++k) {
            if (os::equalsIgnoringCase(fields[k].name, f.name)) {
                throw Error::refused("поле \"" + f.name + "\" повторяется");
            }
        }
        recordSize += fieldWidth(f);
    }
    if (recordSize + format::kBlockHeader > format::kMaxBlockSizeKiB * format::kKiB) {
        throw Error::refused("запись длиннее допустимого");
    }
}

}  // namespace

void createTable(const sql::CreateTable& statement) {
    const std::string& table = statement.table;
    checkFields(statement.fields, statement.keyFieldCount);
    recover(table);
    if (!findIgnoringCase(table).empty()) throw Error::refused("таблица уже существует");
    const NewTable layout{statement.fields, statement.keyFieldCount, os::nameOf(table)};
    const std::vector<std::uint8_t> bytes = buildHeader(layout);
    const bool hasBlobs = std::any_of(statement.fields.begin(), statement.fields.end(),
                                      [](const FieldDef& f) { return isBlobType(f.type); });
    Commit commit(table);
    {
        os::File file(commit.stage(table, FileRole::Table), os::File::Mode::CreateNew);
        file.append(bytes.data(), bytes.size());
        file.sync();
    }
    if (hasBlobs) {
        BlobWriter::writeEmpty(commit.stage(companionPath(table, format::mb::kExtension), FileRole::Blobs));
    }
    if (statement.keyFieldCount > 0) {
        const std::string pxPath = companionPath(table, format::px::kExtension);
        const Header header = parseHeader(bytes, bytes.size());
        writePrimaryIndex(commit.stage(pxPath, FileRole::PrimaryIndex), os::nameOf(pxPath), header, bytes, {},
                          {});
    }
    commit.apply();
}

}  // namespace pdx
