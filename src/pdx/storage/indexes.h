// After a statement rewrote a table: its primary index rebuilt aside and its stale
// secondary indexes dropped, then everything put in place.
#pragma once

#include "pdx/format/header.h"
#include "pdx/storage/table_writer.h"

#include <string>

namespace pdx {

// Puts the freshly written table (at asidePath(tablePath)) in place, with a new primary
// index when the table is keyed. Secondary indexes go: they no longer match.
void commitRewrittenTable(const std::string& tablePath, const Header& header,
                          const TableWriter& writer, const std::string& table);

// For a keyed table the statement did not change: builds its primary index when it is
// missing or describes something else.
void repairPrimaryIndex(const std::string& tablePath, const Header& header,
                        const std::string& table);

}  // namespace pdx
