// An independent reader (Debian's pxlib) used to check what the engine reads and writes.
#pragma once

#include "pdx/value.h"

#include <string>
#include <vector>

namespace oracle {

struct PxTable {
    int records = 0;
    int recordSize = 0;
    int fileType = 0;
    std::vector<pdx::FieldDef> fields;          // names as stored (code page bytes)
    std::vector<std::string> rawRecords;        // each record's bytes as pxlib returns them
    std::vector<std::vector<pdx::Value>> rows;  // non-blob fields decoded by pxlib; blobs blank
};

// Reads a whole table with pxlib (alpha values as raw code page bytes). Fails the current
// test (and returns an empty table) when pxlib cannot open it.
PxTable read(const std::string& path);

// Writes an unkeyed table of alpha fields with pxlib, its header naming `codePage`; field
// names and values are bytes in that page. Fails the current test when pxlib cannot.
void writeAlphaTable(const std::string& path, int codePage, const std::vector<pdx::FieldDef>& fields,
                     const std::vector<std::vector<std::string>>& rows);

// Reads a table through its primary index file with pxlib: the records in index order.
std::vector<std::string> readThroughIndex(const std::string& dbPath, const std::string& pxPath);

}  // namespace oracle
