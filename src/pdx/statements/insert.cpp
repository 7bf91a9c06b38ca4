#include "pdx/statements/insert.h"

#include "pdx/error.h"
#include "pdx/format/byte_order.h"
#include "pdx/format/field_codec.h"
#include "pdx/format/field_layout.h"
#include "pdx/format/mb_format.h"
#include "pdx/sql/text.h"
#include "pdx/statements/field_values.h"
#include "pdx/storage/blob_writer.h"
#include "pdx/storage/block_chain.h"
#include "pdx/storage/commit.h"
#include "pdx/storage/indexes.h"
#include "pdx/storage/open_table.h"
#include "pdx/storage/secondary_indexes.h"
#include "pdx/storage/table_files.h"
#include "pdx/storage/table_writer.h"

#include <algorithm>
#include <cstring>

namespace pdx {
namespace {

std::vector<std::size_t> resolveColumns(const std::vector<std::string>& columns,
                                        const std::vector<FieldDef>& fields) {
    std::vector<std::size_t> indexes;
    if (columns.empty()) {
        for (std::size_t i = 0; i < fields.size(); ++i) indexes.push_back(i);
        return indexes;
    }
    for (const auto& name : columns) {
        const auto it = std::find_if(fields.begin(), fields.end(),
                                     [&](const FieldDef& f) { return sql::sameName(f.name, name); });
        if (it == fields.end()) throw Error::refused("нет поля " + name);
        const auto index = static_cast<std::size_t>(it - fields.begin());
        if (std::find(indexes.begin(), indexes.end(), index) != indexes.end()) {
            throw Error::refused("поле " + name + " указано дважды");
        }
        indexes.push_back(index);
    }
    return indexes;
}

// Text of memo fields goes in the table's code page; other blobs as they are.
std::string blobBytes(const Value& value, const FieldDef& field, const CodePage& codePage) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        if (field.type != FieldType::Memo && field.type != FieldType::FormattedMemo) return *text;
        return encodeText(*text, field, codePage);
    }
    if (const auto* binary = std::get_if<Binary>(&value)) {
        return std::string(binary->bytes.begin(), binary->bytes.end());
    }
    if (std::holds_alternative<std::monostate>(value)) return {};
    throw Error::field(field.name, "значение не того типа");
}

// New rows find their place by their keys' bytes, which is the table's order only where its
// key's text sorts as its bytes.
void requireKeyInByteOrder(const Header& header) {
    for (std::size_t i = 0; i < header.info.keyFieldCount; ++i) {
        const FieldDef& field = header.fields[i];
        if (field.type == FieldType::Alpha && !sortsTextAsBytes(header.info)) {
            throw Error::refused(
                "вставка не поддерживается: таблица упорядочена по текстовому полю ключа \"" + field.name +
                "\" не по байтам (" + sortOrderText(header.info) + ")");
        }
    }
}

}  // namespace

std::int64_t insertRows(const sql::Insert& statement) {
    OpenTable open = openTable(statement.table, os::File::Mode::ReadExclusive);
    const Header& header = open.header;
    requireReadableRecords(header);
    const auto& rows = statement.rows;
    const auto targets = resolveColumns(statement.columns, header.fields);
    const std::size_t recordSize = header.info.recordSize;
    const std::size_t keySize = header.info.keyed() ? header.keySize() : 0;
    std::int64_t counter = header.info.autoIncrement;
    if (keySize > 0) requireKeyInByteOrder(header);
    SecondaryIndexes secondaries(open.path, header);
    secondaries.requireByteOrder();

    Commit commit(open.path);
    BlobWriter blobs(commit, companionPath(open.path, format::mb::kExtension), header.key);
    // Encode the new records.
    std::vector<std::uint8_t> added(rows.size() * recordSize, 0);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (rows[r].size() != targets.size()) {
            throw Error::refused("в строке " + std::to_string(r + 1) + " " + std::to_string(rows[r].size()) +
                                 " значений вместо " + std::to_string(targets.size()));
        }
        std::vector<Value> values(header.fields.size());
        for (std::size_t c = 0; c < targets.size(); ++c) {
            values[targets[c]] = toFieldValue(rows[r][c], header.fields[targets[c]]);
        }
        std::uint8_t* record = &added[r * recordSize];
        for (std::size_t f = 0; f < header.fields.size(); ++f) {
            const FieldDef& field = header.fields[f];
            std::uint8_t* out = record + header.offsets[f];
            if (field.type == FieldType::AutoInc) {
                if (std::holds_alternative<std::monostate>(values[f])) {
                    values[f] = ++counter;
                } else if (const auto* v = std::get_if<std::int64_t>(&values[f])) {
                    counter = std::max(counter, *v);
                }
            }
            if (isBlobType(field.type)) {
                blobs.store(blobBytes(values[f], field, header.codePage), field, out);
            } else {
                encodeField(values[f], field, header.codePage, out);
            }
        }
    }
    if (counter > INT32_MAX) throw Error::refused("счётчик автоинкремента переполнен");

    // Keyed tables: new records in key order, no key twice.
    std::vector<const std::uint8_t*> order;
    for (std::size_t r = 0; r < rows.size(); ++r) order.push_back(&added[r * recordSize]);
    const auto keyLess = [&](const std::uint8_t* a, const std::uint8_t* b) {
        return std::memcmp(a, b, keySize) < 0;
    };
    const auto duplicate = [] { return Error::refused("повторяющееся значение ключа"); };
    if (keySize > 0) {
        std::stable_sort(order.begin(), order.end(), keyLess);
        for (std::size_t i = 1; i < order.size(); ++i) {
            if (std::memcmp(order[i - 1], order[i], keySize) == 0) throw duplicate();
        }
    }

    TableWriter writer(commit.stage(open.path, FileRole::Table), header, keySize);
    BlockChain chain(open.file, header);
    std::size_t next = 0;
    while (chain.next()) {
        for (std::size_t i = 0; i < chain.recordCount(); ++i) {
            const std::uint8_t* old = chain.record(i);
            secondaries.sawOldRow(old);
            while (keySize > 0 && next < order.size() && keyLess(order[next], old)) {
                secondaries.placedRow(order[next], writer.add(order[next]), true);
                ++next;
            }
            if (keySize > 0 && next < order.size() && std::memcmp(order[next], old, keySize) == 0) {
                throw duplicate();
            }
            secondaries.placedRow(old, writer.add(old), false);
        }
    }
    for (; next < order.size(); ++next) secondaries.placedRow(order[next], writer.add(order[next]), true);
    writer.finish(static_cast<std::int32_t>(counter));
    blobs.finish();
    stageIndexes(commit, open.path, header, writer, secondaries);
    commit.apply();
    return static_cast<std::int64_t>(rows.size());
}

}  // namespace pdx
