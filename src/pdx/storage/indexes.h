// The indexes of a table that a statement rewrote, or left as it was.
#pragma once

#include "os/fs.h"
#include "pdx/format/header.h"
#include "pdx/storage/commit.h"
#include "pdx/storage/secondary_indexes.h"
#include "pdx/storage/table_writer.h"

#include <string>

namespace pdx {

// Stages what goes with a freshly written table: a new primary index when it is keyed, and
// its secondary indexes kept valid. Throws pdx::Error when a secondary index does not
// describe the table.
void stageIndexes(Commit& commit, const std::string& tablePath, const Header& header,
                  const TableWriter& writer, SecondaryIndexes& secondaries);

// For a keyed table a statement did not change (`file` is its open table file): builds its
// primary index when it is missing or describes something else.
void repairPrimaryIndex(const os::File& file, const std::string& tablePath, const Header& header);

}  // namespace pdx
