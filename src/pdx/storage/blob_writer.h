// Stores blob field data for new records: in the record when it fits, else in a copy of the
// table's .MB file staged in the statement's commit (old content kept, new blobs appended in
// whole blocks, so the old records' references stay valid in it).
#pragma once

#include "os/fs.h"
#include "pdx/storage/commit.h"
#include "pdx/value.h"

#include <cstdint>
#include <string>

namespace pdx {

class BlobWriter {
public:
    // `mbPath` is where the table's .MB file is or will be.
    BlobWriter(Commit& commit, std::string mbPath);

    // Fills the field's bytes at `out` for `data` (blank when empty).
    void store(const std::string& data, const FieldDef& field, std::uint8_t* out);

    // Flushes the staged .MB, when a blob needed one.
    void finish();

    // A fresh .MB file with no blobs (for a new table), written at `path`.
    static void writeEmpty(const std::string& path);

private:
    void open();

    Commit& commit_;
    std::string mbPath_;
    os::File file_;
    std::uint64_t size_ = 0;
};

}  // namespace pdx
