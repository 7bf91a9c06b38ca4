// The benchmark's table: shaped like a jingle table, about 100 bytes a row.
#pragma once

#include <cstdint>
#include <string>

namespace bench {

constexpr int kCategories = 8;
constexpr std::int32_t kKeptCategory = 5;

struct JingleRow {
    std::int32_t fkey;     // FKey INTEGER, 1..kCategories
    std::string title;     // Title CHAR(40)
    std::string fileName;  // FileName CHAR(40)
    std::string artist;    // Artist CHAR(16)
};

JingleRow jingleRow(std::int64_t index);

// The column list for CREATE TABLE.
const char* jingleColumns();

// Creates the table through the engine and fills it with INSERT statements.
void createWithEngine(const std::string& path, std::int64_t rows);

}  // namespace bench
