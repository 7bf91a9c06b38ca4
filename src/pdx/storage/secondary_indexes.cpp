#include "pdx/storage/secondary_indexes.h"

#include "os/fs.h"
#include "pdx/error.h"
#include "pdx/format/byte_order.h"
#include "pdx/format/db_format.h"
#include "pdx/format/px_format.h"
#include "pdx/format/xnn_format.h"
#include "pdx/storage/block_chain.h"
#include "pdx/storage/open_table.h"
#include "pdx/storage/primary_index.h"
#include "pdx/storage/table_files.h"
#include "pdx/storage/table_writer.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <optional>

namespace pdx {
namespace {

using namespace format;

// A digest of a multiset of byte strings that does not depend on their order: equal
// multisets give equal digests, different ones almost surely not.
class Digest {
public:
    void add(const std::uint8_t* data, std::size_t n) {
        std::uint64_t h = 0xcbf29ce484222325ull;  // FNV-1a
        for (std::size_t i = 0; i < n; ++i) h = (h ^ data[i]) * 0x100000001b3ull;
        // SplitMix64's finalizer spreads the bits before the sum.
        h = (h ^ (h >> 30)) * 0xbf58476d1ce4e5b9ull;
        h = (h ^ (h >> 27)) * 0x94d049bb133111ebull;
        sum_ += h ^ (h >> 31);
        ++count_;
    }
    bool operator==(const Digest&) const = default;

private:
    std::uint64_t sum_ = 0;
    std::uint64_t count_ = 0;
};

// The block of each row of the new table, found by the bytes of its primary key (which are
// not in the table's order under every sort order).
class RowBlocks {
public:
    explicit RowBlocks(std::size_t keySize) : keySize_(keySize) {}

    void add(const std::uint8_t* key, std::uint16_t block) {
        keys_.insert(keys_.end(), key, key + keySize_);
        blocks_.push_back(block);
    }
    // Once every row is in.
    void seal() {
        order_.resize(blocks_.size());
        std::iota(order_.begin(), order_.end(), 0u);
        const auto less = [&](std::uint32_t a, std::uint32_t b) { return compare(a, keyOf(b)) < 0; };
        if (!std::is_sorted(order_.begin(), order_.end(), less))
            std::sort(order_.begin(), order_.end(), less);
    }
    std::optional<std::uint16_t> find(const std::uint8_t* key) const {
        const auto it =
            std::lower_bound(order_.begin(), order_.end(), key,
                             [&](std::uint32_t row, const std::uint8_t* k) { return compare(row, k) < 0; });
        if (it == order_.end() || compare(*it, key) != 0) return std::nullopt;
        return blocks_[*it];
    }

private:
    const std::uint8_t* keyOf(std::uint32_t row) const { return keys_.data() + std::size_t(row) * keySize_; }
    int compare(std::uint32_t row, const std::uint8_t* key) const {
        return std::memcmp(keyOf(row), key, keySize_);
    }

    std::size_t keySize_;
    std::vector<std::uint8_t> keys_;
    std::vector<std::uint16_t> blocks_;
    std::vector<std::uint32_t> order_;
};

std::string quotedName(const std::string& path) { return "\"" + os::nameOf(path) + "\""; }
std::string indexName(const std::string& path) { return "вторичный индекс " + quotedName(path); }

std::string hexByte(std::uint8_t value) {
    const char* digits = "0123456789ABCDEF";
    return std::string("0x") + digits[value >> 4] + digits[value & 0x0F];
}

// An error met in an index's files, told as the index's.
Error aboutIndex(const Error& e, const std::string& path) {
    if (e.kind() != Error::Kind::Refused && e.kind() != Error::Kind::Corrupt) return e;
    return Error(e.kind(), indexName(path) + ": " + e.cause());
}

bool sameField(const FieldDef& a, const FieldDef& b) { return a.type == b.type && a.size == b.size; }

std::uint16_t tableFieldNumber(std::uint16_t stored) {
    return static_cast<std::uint16_t>(stored & ~xnn::kDescendingField);
}

// Why an entries file of a keyed table is not laid out as its indexed fields, the table's key
// fields and a block number ("" when it is).
std::string layoutProblem(const Header& x, const Header& table) {
    const std::size_t n = x.fields.size();
    const std::size_t keyFields = table.info.keyFieldCount;
    if (n < keyFields + 2 || x.info.keyFieldCount != n - 1 || x.fields.back().type != FieldType::Short) {
        return "поля индекса не оканчиваются ключом таблицы и номером блока";
    }
    const std::size_t indexed = n - 1 - keyFields;
    for (std::size_t k = 0; k < keyFields; ++k) {
        if (!sameField(x.fields[indexed + k], table.fields[k])) {
            return "поля индекса не оканчиваются ключом таблицы и номером блока";
        }
    }
    if (x.fieldNumbers.size() != n) return "в заголовке нет номеров полей";
    if (x.bytes[xnn::kFirstIndexedField] != tableFieldNumber(x.fieldNumbers[0])) {
        return "номера первого поля в заголовке расходятся";
    }
    for (std::size_t i = 0; i < indexed; ++i) {
        const std::uint16_t number = tableFieldNumber(x.fieldNumbers[i]);
        if (number == 0 || number > table.fields.size() ||
            !sameField(x.fields[i], table.fields[number - 1u])) {
            return "поле " + std::to_string(i + 1) + " индекса не совпадает с полем таблицы";
        }
    }
    return "";
}

std::uint8_t fileTypeOf(const std::string& path) {
    const os::File file(path, os::File::Mode::Read);
    if (file.size() < kCommonHeaderEnd) throw Error::corrupt("файл короче заголовка");
    std::uint8_t type = 0;
    file.readAt(kFileType, &type, 1);
    return type;
}

// One maintained index, kept through the statement.
struct IndexFile {
    std::string entriesPath;
    std::string treePath;
    Header header;  // of the entries file
    // Where each indexed field lies in a row of the table, and its width.
    std::vector<std::pair<std::size_t, std::size_t>> indexed;
    std::size_t keyAt;                // where an entry holds the row's primary key
    std::size_t sortSize;             // the entry's bytes that order it: all but the block number
    Digest oldRows;                   // the table's old rows as entries, block numbers left out
    std::vector<std::uint8_t> added;  // the entries of new rows

    IndexFile(std::string entries, std::string tree, Header x, const Header& table)
        : entriesPath(std::move(entries)), treePath(std::move(tree)), header(std::move(x)) {
        const std::size_t count = header.fields.size() - 1 - table.info.keyFieldCount;
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t field = tableFieldNumber(header.fieldNumbers[i]) - 1u;
            indexed.emplace_back(table.offsets[field], header.offsets[i + 1] - header.offsets[i]);
        }
        keyAt = header.offsets[count];
        sortSize = header.info.recordSize - xnn::kBlockNumberSize;
    }

    // The entry of a row, without its block number.
    void compose(const std::uint8_t* row, std::size_t keySize, std::uint8_t* out) const {
        for (const auto& [at, width] : indexed) {
            std::memcpy(out, row + at, width);
            out += width;
        }
        std::memcpy(out, row, keySize);
    }

    // Why new entries cannot be placed by their bytes ("" when they can).
    std::string orderProblem() const {
        const std::uint8_t options = header.bytes[xnn::kOptions];
        const bool descending =
            (options & xnn::kDescending) != 0 ||
            std::any_of(header.fieldNumbers.begin(), header.fieldNumbers.end(),
                        [](std::uint16_t number) { return (number & xnn::kDescendingField) != 0; });
        if (descending) return "упорядочен по убыванию";
        if (options != 0) return "имеет неизвестные свойства (байт 0x55 = " + hexByte(options) + ")";
        for (std::size_t i = 0; i < header.info.keyFieldCount; ++i) {
            const FieldDef& f = header.fields[i];
            if (bytesSortAsValues(f.type)) continue;
            if (f.type != FieldType::Alpha) {
                return "упорядочен по полю \"" + f.name + "\" типа " + fieldTypeLetter(f.type) +
                       ", чей порядок не совпадает с порядком байтов";
            }
            if (!sortsTextAsBytes(header.info)) {
                return "упорядочен по текстовому полю \"" + f.name + "\" не по байтам (" +
                       sortOrderText(header.info) + ")";
            }
            if (xnn::isNamed(header.info.fileType)) {
                return "упорядочен по текстовому полю \"" + f.name +
                       "\", а различает ли он регистр, неизвестно";
            }
        }
        return "";
    }
};

// Writes the entries file anew: the old entries whose rows remain, in their order, each with
// its row's new block, and the new rows' entries placed among them by their bytes.
void writeEntries(IndexFile& index, const RowBlocks& rows, TableWriter& out) {
    const std::size_t size = index.header.info.recordSize;
    const std::size_t sortSize = index.sortSize;
    const auto& added = index.added;
    const auto addedAt = [&](std::size_t i) { return added.data() + i * size; };
    std::vector<std::size_t> order(added.size() / size);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return std::memcmp(addedAt(a), addedAt(b), sortSize) < 0;
    });
    std::size_t next = 0;

    const os::File file(index.entriesPath, os::File::Mode::Read);
    BlockChain chain(file, index.header);
    Digest entries;
    std::vector<std::uint8_t> entry(size);
    std::vector<std::uint8_t> previous;
    while (chain.next()) {
        for (std::size_t i = 0; i < chain.recordCount(); ++i) {
            const std::uint8_t* old = chain.record(i);
            entries.add(old, sortSize);
            if (!order.empty()) {
                if (!previous.empty() && std::memcmp(previous.data(), old, sortSize) > 0) {
                    throw Error::corrupt("записи индекса не упорядочены");
                }
                previous.assign(old, old + sortSize);
                while (next < order.size() && std::memcmp(addedAt(order[next]), old, sortSize) < 0) {
                    out.add(addedAt(order[next++]));
                }
            }
            const auto block = rows.find(old + index.keyAt);
            if (!block) continue;  // its row is gone
            std::memcpy(entry.data(), old, size);
            px::putShort(&entry[sortSize], *block);
            out.add(entry.data());
        }
    }
    while (next < order.size()) out.add(addedAt(order[next++]));
    if (!(entries == index.oldRows))
        throw Error::refused("записи не соответствуют строкам таблицы; сохранить индекс нельзя");
}

}  // namespace

struct SecondaryIndexes::Kept {
    std::size_t keySize;
    std::vector<IndexFile> indexes;
    RowBlocks rows;
    std::vector<std::uint8_t> entry;  // room for one entry

    Kept(std::size_t tableKeySize, std::vector<IndexFile> kept)
        : keySize(tableKeySize), indexes(std::move(kept)), rows(tableKeySize) {
        std::size_t largest = 0;
        for (const auto& index : indexes)
            largest = std::max<std::size_t>(largest, index.header.info.recordSize);
        entry.resize(largest);
    }
};

SecondaryIndexes::SecondaryIndexes(const std::string& tablePath, const Header& table) {
    std::vector<IndexFile> kept;
    for (const auto& files : findSecondaryIndexes(tablePath)) {
        if (files.entries.empty()) {
            throw Error::refused("файл " + quotedName(files.tree) + " без файла вторичного индекса " +
                                 quotedName(otherIndexFile(files.tree)));
        }
        const std::string name = indexName(files.entries);
        Header x;
        try {
            const os::File file(files.entries, os::File::Mode::Read);
            x = readHeader(file, HeaderOf::SecondaryIndex);
        } catch (const Error& e) {
            throw aboutIndex(e, files.entries);
        }
        if (!xnn::isMaintained(x.info.fileType)) continue;
        if (!table.info.keyed() || table.info.keyFieldCount == 0) {
            throw Error::refused(name +
                                 " обновляется вместе с таблицей без ключа; такие индексы не поддерживаются");
        }
        if (x.info.encrypted)
            throw Error::refused(name + " защищён паролем; такие индексы не поддерживаются");
        if (const std::string problem = layoutProblem(x, table); !problem.empty()) {
            throw Error::refused(name + " неизвестного устройства: " + problem);
        }
        if (files.tree.empty()) {
            throw Error::refused("у вторичного индекса " + quotedName(files.entries) + " нет файла дерева " +
                                 quotedName(otherIndexFile(files.entries)));
        }
        try {
            const std::uint8_t treeType = fileTypeOf(files.tree);
            if (treeType != xnn::treeTypeOf(x.info.fileType)) {
                throw Error::refused("файл дерева " + quotedName(files.tree) + " неизвестного вида (тип " +
                                     std::to_string(treeType) + ")");
            }
        } catch (const Error& e) {
            throw aboutIndex(e, files.entries);
        }
        kept.emplace_back(files.entries, files.tree, std::move(x), table);
    }
    if (!kept.empty()) kept_ = std::make_unique<Kept>(table.keySize(), std::move(kept));
}

SecondaryIndexes::~SecondaryIndexes() = default;

void SecondaryIndexes::requireByteOrder() const {
    if (!kept_) return;
    for (const auto& index : kept_->indexes) {
        if (const std::string problem = index.orderProblem(); !problem.empty()) {
            throw Error::refused("вставка не поддерживается: " + indexName(index.entriesPath) + " " +
                                 problem);
        }
    }
}

void SecondaryIndexes::digestOldRow(const std::uint8_t* record) {
    for (auto& index : kept_->indexes) {
        index.compose(record, kept_->keySize, kept_->entry.data());
        index.oldRows.add(kept_->entry.data(), index.sortSize);
    }
}

void SecondaryIndexes::placeRow(const std::uint8_t* record, std::uint16_t block, bool added) {
    kept_->rows.add(record, block);
    if (!added) return;
    for (auto& index : kept_->indexes) {
        const std::size_t at = index.added.size();
        index.added.resize(at + index.header.info.recordSize);
        index.compose(record, kept_->keySize, &index.added[at]);
        px::putShort(&index.added[at + index.sortSize], block);
    }
}

void SecondaryIndexes::stage(Commit& commit, const std::vector<std::uint8_t>& writtenTable) {
    if (!kept_) return;
    kept_->rows.seal();
    for (auto& index : kept_->indexes) {
        Header header = index.header;
        header.bytes[xnn::kTableChangeCount] = writtenTable[kChangeCount];
        try {
            TableWriter out(commit.stage(index.entriesPath, FileRole::SecondaryIndex), header,
                            header.keySize());
            writeEntries(index, kept_->rows, out);
            out.finish(header.info.autoIncrement);
            writePrimaryIndex(commit.stage(index.treePath, FileRole::SecondaryIndex),
                              os::nameOf(index.treePath), header, out.header(), out.blocks(), out.firstKeys(),
                              xnn::treeTypeOf(header.info.fileType));
        } catch (const Error& e) {
            throw aboutIndex(e, index.entriesPath);
        }
    }
}

}  // namespace pdx
