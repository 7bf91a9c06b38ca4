// The primary index (.PX) of a keyed table: for each data block the key of its first record,
// its number and its record count, in blocks of entries; upper levels index the levels below.
#pragma once

#include "pdx/format/db_format.h"
#include "pdx/format/header.h"
#include "pdx/storage/table_writer.h"

#include <string>
#include <vector>

namespace pdx {

// Writes a new index file at `path` (which must not exist) for a table whose header is
// `tableHeader` (as written) and whose blocks are `blocks`, and flushes it. A secondary
// index's tree is written the same way over its entries file, with the tree's `fileType`.
void writePrimaryIndex(const std::string& path, const std::string& indexName, const Header& tableHeader,
                       const std::vector<std::uint8_t>& writtenHeader,
                       const std::vector<BlockSummary>& blocks, const std::vector<std::uint8_t>& firstKeys,
                       std::uint8_t fileType = format::kPrimaryIndex);

// True when the index file at `path` describes the table: its key fields, its change
// counter and its record total.
bool indexDescribes(const std::string& path, const Header& tableHeader);

}  // namespace pdx
