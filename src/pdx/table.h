// Reading a Paradox table: its header, its fields and its records, decoded.
#pragma once

#include "pdx/value.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pdx {

// A table opened for reading (shared with other readers). Companion files (.MB) are found
// beside it whatever the case of their names.
class Table {
public:
    // Throws pdx::Error (Russian, naming the table) when the file is missing, unreadable,
    // busy or corrupt. A password-protected table is read without its password. A commit
    // that was interrupted is completed first.
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
        // Throws pdx::Error for a protected table whose records cannot be decoded.
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

}  // namespace pdx
