// Secondary index files as the tests see them, read and written byte by byte apart from the
// engine's code. An entries file (.Xnn, .XGn) is laid out like a table whose records are the
// entries: the indexed fields, the primary key and the number of the row's data block (a
// short, big-endian with the sign bit flipped). Its tree (.Ynn, .YGn) is laid out like a .PX
// over the entries file's blocks. Fixtures: indexes of the real samples, and indexes the tests
// write for tables they make, with headers from the samples or from the format layer.
#pragma once

#include "pdx/engine.h"
#include "pdx/format/field_layout.h"
#include "pdx/format/new_header.h"
#include "pdx/table.h"
#include "table_fixtures.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace index_files {

constexpr std::size_t kBlockHeader = 6;
constexpr std::size_t kBlockNumberSize = 2;

inline unsigned byteAt(const std::string& s, std::size_t at) { return static_cast<unsigned char>(s[at]); }
inline unsigned le16(const std::string& s, std::size_t at) { return byteAt(s, at) | byteAt(s, at + 1) << 8; }
inline unsigned le32(const std::string& s, std::size_t at) { return le16(s, at) | le16(s, at + 2) << 16; }
inline void putLe16(std::string& s, std::size_t at, std::size_t v) {
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>(v >> 8 & 0xFF);
}
inline void putLe32(std::string& s, std::size_t at, std::size_t v) {
    putLe16(s, at, v & 0xFFFF);
    putLe16(s, at + 2, v >> 16);
}
inline unsigned indexShort(const std::string& s, std::size_t at) {
    return (byteAt(s, at) << 8 | byteAt(s, at + 1)) ^ 0x8000;
}
inline std::string indexShortBytes(unsigned v) {
    const unsigned stored = v ^ 0x8000;
    return {static_cast<char>(stored >> 8), static_cast<char>(stored & 0xFF)};
}

// A file laid out like a table: its header and its records along the block chain.
struct BlockFile {
    struct Block {
        unsigned number;
        std::size_t first;  // its first record in `records`
        std::size_t count;
    };
    std::string header;
    std::size_t recordSize = 0;
    std::vector<Block> blocks;         // in chain order
    std::vector<std::string> records;  // in chain order
    std::vector<unsigned> blockOf;     // the block of each record
};

inline BlockFile readBlockFile(const std::string& path) {
    const std::string bytes = readFile(path);
    BlockFile f;
    const std::size_t headerSize = le16(bytes, 2);
    const std::size_t blockSize = byteAt(bytes, 5) * 1024u;
    f.header = bytes.substr(0, headerSize);
    f.recordSize = le16(bytes, 0);
    for (unsigned next = le16(bytes, 0x0E); next != 0 && f.blocks.size() <= 0xFFFF;) {
        const std::string block = bytes.substr(headerSize + (next - 1) * blockSize, blockSize);
        const int add = static_cast<std::int16_t>(le16(block, 4));
        const std::size_t count = add < 0 ? 0 : static_cast<std::size_t>(add) / f.recordSize + 1;
        f.blocks.push_back({next, f.records.size(), count});
        for (std::size_t i = 0; i < count; ++i) {
            f.records.push_back(block.substr(kBlockHeader + i * f.recordSize, f.recordSize));
            f.blockOf.push_back(next);
        }
        next = le16(block, 0);
    }
    return f;
}

// Writes `records` packed into linked blocks after `header`, whose counts are set to match.
inline void writeBlockFile(const std::string& path, std::string header,
                           const std::vector<std::string>& records) {
    const std::size_t recordSize = le16(header, 0);
    const std::size_t blockSize = byteAt(header, 5) * 1024u;
    const std::size_t perBlock = (blockSize - kBlockHeader) / recordSize;
    const std::size_t count = (records.size() + perBlock - 1) / perBlock;
    std::string body;
    for (std::size_t b = 0; b < count; ++b) {
        std::string block(blockSize, '\0');
        const std::size_t n = std::min(perBlock, records.size() - b * perBlock);
        putLe16(block, 0, b + 1 < count ? b + 2 : 0);
        putLe16(block, 2, b);
        putLe16(block, 4, (n - 1) * recordSize);
        for (std::size_t i = 0; i < n; ++i)
            block.replace(kBlockHeader + i * recordSize, recordSize, records[b * perBlock + i]);
        body += block;
    }
    putLe32(header, 0x06, records.size());
    for (std::size_t at : {0x0A, 0x0C, 0x10}) putLe16(header, at, count);
    putLe16(header, 0x0E, count > 0 ? 1 : 0);
    writeFile(path, header + body);
}

// The level-1 entries of a tree file (one per block of its entries file), from its root down.
struct TreeEntry {
    std::string key;
    unsigned block;
    unsigned count;
};

inline std::vector<TreeEntry> readTreeLeaves(const std::string& path) {
    const std::string bytes = readFile(path);
    const std::size_t headerSize = le16(bytes, 2);
    const std::size_t blockSize = byteAt(bytes, 5) * 1024u;
    const std::size_t entrySize = le16(bytes, 0);
    const std::size_t keySize = entrySize - 6;
    std::vector<TreeEntry> leaves;
    std::function<void(unsigned, unsigned)> walk = [&](unsigned number, unsigned level) {
        const std::string block = bytes.substr(headerSize + (number - 1) * blockSize, blockSize);
        const int add = static_cast<std::int16_t>(le16(block, 4));
        const std::size_t n = add < 0 ? 0 : static_cast<std::size_t>(add) / entrySize + 1;
        for (std::size_t k = 0; k < n; ++k) {
            const std::size_t at = kBlockHeader + k * entrySize;
            const TreeEntry e{block.substr(at, keySize), indexShort(block, at + keySize),
                              indexShort(block, at + keySize + 2)};
            if (level == 1) {
                leaves.push_back(e);
            } else {
                walk(e.block, level - 1);
            }
        }
    };
    if (byteAt(bytes, 0x20) > 0) walk(le16(bytes, 0x1E), byteAt(bytes, 0x20));
    return leaves;
}

// A table's fields and where they lie in a record.
struct Layout {
    std::vector<pdx::FieldDef> fields;
    std::vector<std::size_t> offsets;
    std::size_t keyFields = 0;
    std::size_t keySize = 0;
    std::size_t width(std::size_t field) const { return pdx::fieldWidth(fields[field]); }
};

inline Layout layoutOf(const std::string& tablePath) {
    const pdx::Table table(tablePath);
    Layout l;
    l.fields = table.fields();
    l.keyFields = table.info().keyFieldCount;
    std::size_t at = 0;
    for (std::size_t i = 0; i < l.fields.size(); ++i) {
        l.offsets.push_back(at);
        at += l.width(i);
        if (i < l.keyFields) l.keySize = at;
    }
    return l;
}

// The entry of a table row for an index on the table's fields `indexed` (0-based).
inline std::string entryOf(const Layout& table, const std::string& row,
                           const std::vector<std::size_t>& indexed, unsigned block) {
    std::string entry;
    for (std::size_t f : indexed) entry += row.substr(table.offsets[f], table.width(f));
    return entry + row.substr(0, table.keySize) + indexShortBytes(block);
}

// The entries of every row of the table, in table order.
inline std::vector<std::string> entriesOf(const std::string& tablePath,
                                          const std::vector<std::size_t>& indexed) {
    const Layout layout = layoutOf(tablePath);
    const BlockFile table = readBlockFile(tablePath);
    std::vector<std::string> entries;
    for (std::size_t r = 0; r < table.records.size(); ++r) {
        entries.push_back(entryOf(layout, table.records[r], indexed, table.blockOf[r]));
    }
    return entries;
}

// Orders of entries: by their bytes (block number aside), and the one a test gives.
using EntryLess = std::function<bool(const std::string&, const std::string&)>;
inline bool byBytes(const std::string& a, const std::string& b) {
    return a.compare(0, a.size() - kBlockNumberSize, b, 0, b.size() - kBlockNumberSize) < 0;
}
inline std::vector<std::string> sorted(std::vector<std::string> entries, const EntryLess& less = byBytes) {
    std::stable_sort(entries.begin(), entries.end(), less);
    return entries;
}

// The old entries whose rows the table still holds, in their order, with the rows' blocks now.
inline std::vector<std::string> survivingEntries(const std::vector<std::string>& old,
                                                 const std::string& tablePath) {
    const Layout layout = layoutOf(tablePath);
    const BlockFile table = readBlockFile(tablePath);
    std::map<std::string, unsigned> blocks;
    for (std::size_t r = 0; r < table.records.size(); ++r) {
        blocks[table.records[r].substr(0, layout.keySize)] = table.blockOf[r];
    }
    std::vector<std::string> kept;
    for (const auto& entry : old) {
        const std::size_t keyAt = entry.size() - kBlockNumberSize - layout.keySize;
        const auto it = blocks.find(entry.substr(keyAt, layout.keySize));
        if (it != blocks.end())
            kept.push_back(entry.substr(0, entry.size() - kBlockNumberSize) + indexShortBytes(it->second));
    }
    return kept;
}

// The tree file beside an entries file: ".X02" -> ".Y02", ".xg0" -> ".yg0".
inline std::string treePathOf(std::string entriesPath) {
    char& letter = entriesPath[entriesPath.size() - 3];
    letter = letter == 'X' ? 'Y' : 'y';
    return entriesPath;
}

// Header changes for fixtures ----------------------------------------------------------------

// Sets the sort order of a level 5+ header (table or entries file): its byte and its name,
// which ends the header's real part.
inline void setSortOrder(std::string& header, unsigned code, const std::string& name) {
    const std::size_t end = le16(header, 0x51) - 1;  // the name's NUL
    const std::size_t start = header.rfind('\0', end - 1) + 1;
    std::fill(header.begin() + static_cast<std::ptrdiff_t>(start),
              header.begin() + static_cast<std::ptrdiff_t>(end), '\0');
    header.replace(start, name.size() + 1, name + '\0');
    putLe16(header, 0x51, start + name.size() + 1);
    header[0x29] = static_cast<char>(code);
}

inline void patchFile(const std::string& path, std::size_t at, const std::string& bytes) {
    std::string content = readFile(path);
    content.replace(at, bytes.size(), bytes);
    writeFile(path, content);
}

inline void setTableSortOrder(const std::string& tablePath, unsigned code, const std::string& name) {
    std::string content = readFile(tablePath);
    std::string header = content.substr(0, le16(content, 2));
    setSortOrder(header, code, name);
    writeFile(tablePath, header + content.substr(header.size()));
}

// An index the tests write for a table.
struct IndexSpec {
    std::string extension;             // ".X02", ".XG0"
    std::vector<std::size_t> indexed;  // the table's fields, 0-based
    unsigned fileType = 5;             // 5 .Xnn, 8 .XGn (maintained); 3, 6 non-maintained
    unsigned options = 0;              // header byte 0x55
    bool descendingField = false;      // bit 15 of the first indexed field's number
};

// A header for the entries file through the format layer: a Paradox 7 table of the entry's
// fields, made an index of the table (its fields' numbers, sort order, change count).
inline std::string entriesHeader(const std::string& tablePath, const IndexSpec& index) {
    const Layout table = layoutOf(tablePath);
    const std::string tableHeader = readFile(tablePath).substr(0, 0x800);
    pdx::NewTable x;
    for (std::size_t f : index.indexed) x.fields.push_back(table.fields[f]);
    for (std::size_t k = 0; k < table.keyFields; ++k) x.fields.push_back(table.fields[k]);
    x.fields.push_back({"Blk Num", pdx::FieldType::Short, 2});
    x.keyFieldCount = x.fields.size() - 1;
    x.fileName = std::filesystem::path(tablePath).stem().string() + index.extension;
    x.codePage = pdx::Table(tablePath).info().codePage;
    const auto built = pdx::buildHeader(x);
    std::string h(built.begin(), built.end());
    h[0x04] = static_cast<char>(index.fileType);
    h[0x15] = static_cast<char>(index.indexed.front() + 1);
    h[0x2F] = tableHeader[0x2D];
    h[0x55] = static_cast<char>(index.options);
    const std::size_t numbersAt = le16(h, 0x51) - 6 - 2 * x.fields.size();  // before "ascii"
    for (std::size_t i = 0; i < index.indexed.size(); ++i) {
        putLe16(h, numbersAt + 2 * i, (index.indexed[i] + 1) | (index.descendingField && i == 0 ? 0x8000 : 0));
    }
    const pdx::TableInfo info = pdx::Table(tablePath).info();
    setSortOrder(h, info.sortOrder, info.sortOrderName);
    return h;
}

// A tree file with no entries yet, of the type that goes with the entries file.
inline std::string emptyTree(const std::string& entries) {
    std::string h(0x800, '\0');
    const std::size_t keyFields = le16(entries, 0x23);
    putLe16(h, 0x00, le16(entries, 0) - kBlockNumberSize + 6);
    putLe16(h, 0x02, 0x800);
    h[0x04] = static_cast<char>(byteAt(entries, 4) > 5 ? 7 : 4);
    h[0x05] = 2;
    putLe16(h, 0x1E, 1);
    putLe16(h, 0x21, keyFields);
    h[0x29] = entries[0x29];
    h[0x39] = entries[0x39];
    for (std::size_t k = 0; k < 2 * keyFields; ++k) h[0x58 + k] = entries[0x78 + k];
    return h;
}

// Writes an index of the table: its entries for every row in the order `less` gives, under
// `header`, and an empty tree beside it. Returns the entries file's path.
inline std::string writeIndex(const std::string& tablePath, const std::string& extension,
                              const std::string& header, const std::vector<std::size_t>& indexed,
                              const EntryLess& less = byBytes) {
    const std::string path = std::filesystem::path(tablePath).replace_extension(extension).string();
    writeBlockFile(path, header, sorted(entriesOf(tablePath, indexed), less));
    writeFile(treePathOf(path), emptyTree(header));
    return path;
}

inline std::string writeIndex(const std::string& tablePath, const IndexSpec& index,
                              const EntryLess& less = byBytes) {
    return writeIndex(tablePath, index.extension, entriesHeader(tablePath, index), index.indexed, less);
}

// Tables with indexes ------------------------------------------------------------------------

// A copy of the sample C.DB (fields C, A, B; key C; sort order "ANSII850") grown to `rows`
// rows, with its indexes on A (C.X02) and on B (C.X03) written anew under the sample's own
// headers. `tied`: the indexes carry the table's change count, as Paradox leaves them;
// otherwise they carry the sample's stale one.
inline std::string makeC(const TempFolder& folder, int rows, bool tied) {
    const std::string path = copySample(folder, "joins/C.DB");
    for (const char* ext : {".X02", ".Y02", ".X03", ".Y03"})
        std::filesystem::remove(folder.file(std::string("C") + ext));
    std::string values;
    for (int i = 4; i < rows + 1; ++i) {
        const int a = (i * 7919) % 10007 - 5000;
        values += (values.empty() ? "(" : ", (") + std::to_string(i) + ", " + std::to_string(a) + ", " +
                  (i % 13 == 0 ? std::string("NULL") : std::to_string(i % 97)) + ")";
        if (i % 5000 == 0 || i == rows) {
            pdx::execute("INSERT INTO " + sqlName(path) + " VALUES " + values);
            values.clear();
        }
    }
    const std::string table = readFile(path);
    for (const auto& [ext, field] : {std::pair<std::string, std::size_t>{".X02", 1}, {".X03", 2}}) {
        std::string header = readFile(kSamples + "/joins/C" + ext).substr(0, 0x800);
        if (tied) header[0x2F] = table[0x2D];
        const std::string x = writeIndex(path, ext, header, {field});
        std::filesystem::copy_file(kSamples + "/joins/C" + treePathOf(ext), treePathOf(x),
                                   std::filesystem::copy_options::overwrite_existing);
    }
    return path;
}

// Names of both cases, so that orders by bytes and by letters differ.
inline std::string wordOf(int i) {
    static const char* const kWords[] = {"apple",  "Apple",  "BANANA", "banana",
                                         "Cherry", "cherry", "date",   "Date"};
    return std::string(kWords[i % 8]) + std::to_string(i % 11);
}

// A table "T" (Id, Name, N, Amount; key Id) of `rows` rows made by the engine, under the sort
// order given (the engine makes "ascii" tables; another one is set in the header after).
inline std::string makeWords(const TempFolder& folder, int rows, const std::string& sortOrder = "ascii") {
    const std::string path = folder.file("T.db");
    pdx::execute("CREATE TABLE " + sqlName(path) +
                 " (Id INTEGER, Name CHAR(12), N INTEGER, Amount DECIMAL(8,2), PRIMARY KEY (Id))");
    std::string values;
    for (int i = 0; i < rows; ++i) {
        values += (values.empty() ? "(" : ", (") + std::to_string(i * 3) + ", '" + wordOf(i) + "', " +
                  std::to_string(i % 5) + ", " + std::to_string(i) + ".25)";
    }
    pdx::execute("INSERT INTO " + sqlName(path) + " VALUES " + values);
    if (sortOrder != "ascii") setTableSortOrder(path, 0x11, sortOrder);
    return path;
}

// Letters before case ("apple" and "Apple" before "banana") in the first `textSize` bytes,
// then the bytes of the whole.
inline bool lettersThenBytes(const std::string& a, const std::string& b, std::size_t textSize) {
    const auto letters = [&](const std::string& s) {
        std::string text = s.substr(0, textSize);
        for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    };
    const std::string la = letters(a), lb = letters(b);
    return la != lb ? la < lb : a < b;
}

}  // namespace index_files
