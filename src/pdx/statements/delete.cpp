#include "pdx/statements/delete.h"

#include "pdx/sql/predicate.h"
#include "pdx/storage/block_chain.h"
#include "pdx/storage/commit.h"
#include "pdx/storage/indexes.h"
#include "pdx/storage/open_table.h"
#include "pdx/storage/record_values.h"
#include "pdx/storage/secondary_indexes.h"
#include "pdx/storage/table_writer.h"

namespace pdx {

std::int64_t deleteRows(const sql::Delete& statement) {
    OpenTable open = openTable(statement.table, os::File::Mode::ReadExclusive);
    const Header& header = open.header;
    requireReadableRecords(header);
    openBlobs(open);
    const sql::Predicate predicate(statement.where.get(), header.fields);
    SecondaryIndexes secondaries(open.path, header);

    Commit commit(open.path);
    TableWriter writer(commit.stage(open.path, FileRole::Table), header, header.keySize());
    BlockChain chain(open.file, header);
    const std::uint8_t* record = nullptr;
    const auto valueOf = [&](std::size_t i) { return fieldValue(record, header, i, open.blobs.get()); };
    std::int64_t deleted = 0;
    while (chain.next()) {
        for (std::size_t i = 0; i < chain.recordCount(); ++i) {
            record = chain.record(i);
            secondaries.sawOldRow(record);
            if (predicate.matches(valueOf)) {
                ++deleted;
            } else {
                secondaries.placedRow(record, writer.add(record), false);
            }
        }
    }
    if (deleted == 0) {
        repairPrimaryIndex(open.file, open.path, header);
        return 0;
    }
    writer.finish(header.info.autoIncrement);
    stageIndexes(commit, open.path, header, writer, secondaries);
    commit.apply();
    return deleted;
}

}  // namespace pdx
