// The secondary indexes of a table a statement rewrites (.Xnn/.Ynn, .XGn/.YGn). Maintained
// ones are kept valid: their entries follow the rows, each with the number of the block that
// now holds its row, and their trees are rebuilt over them. Non-maintained ones are left as
// they are: Paradox finds them out of date and rebuilds them when it uses them. An index of a
// kind this engine does not know refuses the statement before anything is written.
#pragma once

#include "pdx/format/header.h"
#include "pdx/storage/commit.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pdx {

class SecondaryIndexes {
public:
    // Finds the secondary indexes of the table whose file is `tablePath` and reads their
    // headers. Throws pdx::Error naming the index when one cannot be kept.
    SecondaryIndexes(const std::string& tablePath, const Header& table);
    ~SecondaryIndexes();
    SecondaryIndexes(const SecondaryIndexes&) = delete;
    SecondaryIndexes& operator=(const SecondaryIndexes&) = delete;

    // For a statement that adds rows, whose entries are placed by their bytes: throws
    // pdx::Error unless every kept index orders its entries as their bytes sort.
    void requireByteOrder() const;

    // Each record of the table as it was, once (to check that every index describes them).
    void sawOldRow(const std::uint8_t* record) {
        if (kept_) digestOldRow(record);
    }
    // Each record of the new table, with the block it went to; `added` for a new row.
    void placedRow(const std::uint8_t* record, std::uint16_t block, bool added) {
        if (kept_) placeRow(record, block, added);
    }

    // Writes every kept index aside for the new table, whose header as written is
    // `writtenTable`, and stages its files. Throws pdx::Error when an index does not describe
    // the table's old rows.
    void stage(Commit& commit, const std::vector<std::uint8_t>& writtenTable);

private:
    struct Kept;

    void digestOldRow(const std::uint8_t* record);
    void placeRow(const std::uint8_t* record, std::uint16_t block, bool added);

    std::unique_ptr<Kept> kept_;  // null when no index is to be rewritten
};

}  // namespace pdx
