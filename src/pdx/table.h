// Reading a Paradox table: its header, its fields and its records, decoded.
#pragma once

#include "pdx/value.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pdx {

// What a table's header says about it.
struct TableInfo {
    std::uint8_t level = 0;           // format level byte (0x03..0x0C; 0x0C is Paradox 7)
    std::uint8_t fileType = 0;        // 0x00 keyed, 0x02 unkeyed
    bool keyed() const { return fileType == 0x00; }
    std::uint32_t blockSize = 0;      // bytes
    std::uint16_t recordSize = 0;     // bytes
    std::uint32_t recordCount = 0;
    std::uint16_t headerSize = 0;     // bytes before the first data block
    std::uint16_t fileBlocks = 0;     // data blocks in the file
    std::uint16_t codePage = 0;       // e.g. 1251
    std::uint8_t sortOrder = 0;       // header byte; 0x00 ASCII
    std::string sortOrderName;        // e.g. "ascii" ("" when the header has none)
    std::int32_t autoIncrement = 0;   // the header's counter
    std::uint16_t keyFieldCount = 0;
    bool encrypted = false;
};

// A table opened for reading (shared with other readers). Companion files (.MB) are found
// beside it whatever the case of their names.
class Table {
public:
    // Throws pdx::Error (Russian, naming the table) when the file is missing, unreadable,
    // busy or corrupt. A password-protected table opens (its header is readable) but its
    // records are refused.
    explicit Table(const std::string& path);
    ~Table();
    Table(Table&&) noexcept;
    Table& operator=(Table&&) noexcept;

    const std::string& path() const;
    const TableInfo& info() const;
    const std::vector<FieldDef>& fields() const;

    // Walks the records in table order (along the block chain).
    class Cursor {
    public:
        // Throws pdx::Error for a password-protected table.
        explicit Cursor(const Table& table);
        ~Cursor();
        Cursor(Cursor&&) noexcept;
        // Moves to the next record; false at the end. Throws pdx::Error on corruption.
        bool next();
        // The current record's values, one per field (blobs read from the .MB file).
        const std::vector<Value>& values() const;

    private:
        struct State;
        std::unique_ptr<State> state_;
    };
    Cursor records() const { return Cursor(*this); }

    // All records at once (convenient for small tables and tests).
    std::vector<std::vector<Value>> readAll() const;

private:
    friend class Cursor;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// A value as text for display: dates YYYY-MM-DD, times HH:MM:SS, timestamps
// "YYYY-MM-DD HH:MM:SS", logical true/false, numbers in plain notation, BCD with its scale,
// blanks as "" and binary data as hex.
std::string formatValue(const Value& value, const FieldDef& field);

// The type's letter as Paradox shows it in structures: A, D, S, I, $, N, L, M, B, F, O, G,
// T, @, +, #, Y.
char fieldTypeLetter(FieldType type);

}  // namespace pdx
