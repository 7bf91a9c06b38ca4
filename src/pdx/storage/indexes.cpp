#include "pdx/storage/indexes.h"

#include "os/fs.h"
#include "pdx/storage/block_chain.h"
#include "pdx/format/messages.h"
#include "pdx/storage/primary_index.h"
#include "pdx/storage/commit.h"
#include "pdx/storage/table_files.h"

namespace pdx {

void commitRewrittenTable(const std::string& tablePath, const Header& header,
                          const TableWriter& writer, const std::string& table) {
    const std::string pxPath = companionPath(tablePath, ".PX");
    const std::string pxAside = asidePath(pxPath);
    try {
        if (header.info.keyed() && header.info.keyFieldCount > 0) {
            writePrimaryIndex(pxAside, os::nameOf(pxPath), header, writer.header(),
                              writer.blocks(), writer.firstKeys());
        }
        for (const auto& secondary : findSecondaryIndexes(tablePath)) os::removeFile(secondary);
        os::replaceFile(asidePath(tablePath), tablePath);
        if (header.info.keyed() && header.info.keyFieldCount > 0) os::replaceFile(pxAside, pxPath);
    } catch (const os::Error& e) {
        removeQuietly(pxAside);
        throw fileError(table, e);
    }
}

void repairPrimaryIndex(const std::string& tablePath, const Header& header,
                        const std::string& table) {
    if (!header.info.keyed() || header.info.keyFieldCount == 0) return;
    const std::string pxPath = companionPath(tablePath, ".PX");
    if (os::fileExists(pxPath) && indexDescribes(pxPath, header)) return;
    // Walk the table as it is to learn its blocks.
    const std::string pxAside = asidePath(pxPath);
    try {
        os::File file(tablePath, os::File::Mode::Read);
        BlockChain chain(file, header, table);
        std::vector<BlockSummary> blocks;
        std::vector<std::uint8_t> keys;
        const std::size_t keySize = header.keySize();
        while (chain.next()) {
            if (chain.recordCount() == 0) continue;
            blocks.push_back({chain.number(), static_cast<std::uint16_t>(chain.recordCount()), keys.size()});
            keys.insert(keys.end(), chain.record(0), chain.record(0) + keySize);
        }
        os::removeFile(pxAside);
        writePrimaryIndex(pxAside, os::nameOf(pxPath), header, header.bytes, blocks, keys);
        os::replaceFile(pxAside, pxPath);
    } catch (const os::Error& e) {
        removeQuietly(pxAside);
        throw fileError(table, e);
    }
}

}  // namespace pdx
