#include "pdx/storage/indexes.h"

#include "pdx/format/px_format.h"
#include "pdx/storage/block_chain.h"
#include "pdx/storage/primary_index.h"
#include "pdx/storage/table_files.h"

namespace pdx {
namespace {

bool hasPrimaryIndex(const Header& header) { return header.info.keyed() && header.info.keyFieldCount > 0; }

}  // namespace

void stageIndexes(Commit& commit, const std::string& tablePath, const Header& header,
                  const TableWriter& writer, SecondaryIndexes& secondaries) {
    if (hasPrimaryIndex(header)) {
        const std::string pxPath = companionPath(tablePath, format::px::kExtension);
        writePrimaryIndex(commit.stage(pxPath, FileRole::PrimaryIndex), os::nameOf(pxPath), header,
                          writer.header(), writer.blocks(), writer.firstKeys());
    }
    secondaries.stage(commit, writer.header());
}

void repairPrimaryIndex(const os::File& file, const std::string& tablePath, const Header& header) {
    if (!hasPrimaryIndex(header)) return;
    const std::string pxPath = companionPath(tablePath, format::px::kExtension);
    if (os::fileExists(pxPath) && indexDescribes(pxPath, header)) return;
    // Walk the table as it is to learn its blocks.
    BlockChain chain(file, header);
    std::vector<BlockSummary> blocks;
    std::vector<std::uint8_t> keys;
    const std::size_t keySize = header.keySize();
    while (chain.next()) {
        if (chain.recordCount() == 0) continue;
        blocks.push_back({chain.number(), static_cast<std::uint16_t>(chain.recordCount()), keys.size()});
        keys.insert(keys.end(), chain.record(0), chain.record(0) + keySize);
    }
    Commit commit(tablePath);
    writePrimaryIndex(commit.stage(pxPath, FileRole::PrimaryIndex), os::nameOf(pxPath), header, header.bytes,
                      blocks, keys);
    commit.apply();
}

}  // namespace pdx
