// Fixtures for storage tests: sample tables copied into a temp folder, and generated tables.
#pragma once

#include "pdx/engine.h"
#include "pdx/table.h"
#include "temp_folder.h"

#include <filesystem>
#include <string>
#include <vector>

inline const std::string kSamples = PDX_SAMPLES;

// Copies a sample table with every companion file (same stem, any extension) into `to`;
// returns the copied table's path. `table` is "folder/name.ext" under the samples.
inline std::string copySample(const TempFolder& to, const std::string& table) {
    namespace fs = std::filesystem;
    const fs::path source = fs::path(kSamples) / table;
    const std::string stem = source.stem().string();
    for (const auto& entry : fs::directory_iterator(source.parent_path())) {
        if (entry.path().stem().string() == stem) {
            const fs::path target = to.path() / entry.path().filename();
            fs::copy_file(entry.path(), target, fs::copy_options::overwrite_existing);
            fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
        }
    }
    return to.file(source.filename().string());
}

inline std::string sqlName(const std::string& path) { return "\"" + path + "\""; }

// A table "Jingles" with FKey cycling 0..4 (every 7th row blank), a name and a number;
// `rows` rows inserted in batches so that it spans many blocks.
inline std::string makeJingles(const TempFolder& folder, int rows, bool keyed,
                               const std::string& name = "Jingles.db") {
    const std::string path = folder.file(name);
    pdx::execute("CREATE TABLE " + sqlName(path) + " (Id INTEGER, FKey INTEGER, Name CHAR(40), " +
                 "Length FLOAT" + std::string(keyed ? ", PRIMARY KEY (Id))" : ")"));
    std::string values;
    int inBatch = 0;
    for (int i = 0; i < rows; ++i) {
        const std::string fkey = i % 7 == 6 ? "NULL" : std::to_string(i % 5);
        // Keys are inserted out of order so that keyed tables must sort them.
        const int id = keyed ? (i * 7919) % rows : i;
        if (!values.empty()) values += ", ";
        values += "(" + std::to_string(id) + ", " + fkey + ", 'Джингл " + std::to_string(i) + "', " +
                  std::to_string(i) + ".5)";
        if (++inBatch == 500 || i + 1 == rows) {
            pdx::execute("INSERT INTO " + sqlName(path) + " VALUES " + values);
            values.clear();
            inBatch = 0;
        }
    }
    return path;
}

// Ends a table file (of whole blocks) right after the last record of its last block, as
// Paradox may leave it.
inline void cutAfterLastRecord(const std::string& path) {
    std::string content = readFile(path);
    const auto u16 = [&](std::size_t at) {
        return std::size_t(std::uint8_t(content[at])) | std::size_t(std::uint8_t(content[at + 1])) << 8;
    };
    const std::size_t recordSize = u16(0x00);
    const std::size_t lastBlockAt = content.size() - std::uint8_t(content[0x05]) * 1024u;
    // Block header: next, previous, (records - 1) * record size.
    content.resize(lastBlockAt + 6 + u16(lastBlockAt + 4) + recordSize);
    writeFile(path, content);
}
