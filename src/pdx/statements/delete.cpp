#include "pdx/statements/delete.h"

#include "pdx/storage/block_chain.h"
#include "pdx/format/field_codec.h"
#include "pdx/storage/indexes.h"
#include "pdx/format/messages.h"
#include "pdx/storage/commit.h"
#include "pdx/storage/open_table.h"
#include "pdx/storage/table_writer.h"

namespace pdx {

std::int64_t deleteRows(const std::string& table, const sql::Expr* where) {
    OpenTable open = openTable(table, os::File::Mode::ReadExclusive);
    const Header& header = open.header;
    requireReadableRecords(header, table);
    const std::string aside = asidePath(open.path);
    try {
        removeLeftovers(open.path);
        openBlobs(open, table);
        const sql::Predicate predicate(where, header.fields, table);

        TableWriter writer(aside, header, header.keySize(), table);
        BlockChain chain(open.file, header, table);
        const std::uint8_t* record = nullptr;
        const auto valueOf = [&](std::size_t i) {
            return decodeField(record + header.offsets[i], header.fields[i], header.codePage,
                               open.blobs.get(), table);
        };
        std::int64_t deleted = 0;
        while (chain.next()) {
            for (std::size_t i = 0; i < chain.recordCount(); ++i) {
                record = chain.record(i);
                if (predicate.matches(valueOf)) {
                    ++deleted;
                } else {
                    writer.add(record);
                }
            }
        }
        if (deleted == 0) {
            os::removeFile(aside);
            repairPrimaryIndex(open.path, header, table);
            return 0;
        }
        writer.finish(header.info.autoIncrement);
        commitRewrittenTable(open.path, header, writer, table);
        return deleted;
    } catch (const os::Error& e) {
        removeQuietly(aside);
        throw fileError(table, e);
    } catch (...) {
        removeQuietly(aside);
        throw;
    }
}

}  // namespace pdx
