// Stores blob field data for new records: in the record when it fits, else in a copy of the
// table's .MB file staged in the statement's commit (old content kept, new blobs appended in
// whole blocks, so the old records' references stay valid in it). A protected table's blobs
// are written encoded under its key.
#pragma once

#include "os/fs.h"
#include "pdx/storage/commit.h"
#include "pdx/value.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pdx {

class BlobWriter {
public:
    // `mbPath` is where the table's .MB file is or will be; `key` is the table's (0: not
    // protected).
    BlobWriter(Commit& commit, std::string mbPath, std::uint32_t key);

    // Fills the field's bytes at `out` for `data` (blank when empty).
    void store(const std::string& data, const FieldDef& field, std::uint8_t* out);

    // Flushes the staged .MB, when a blob needed one.
    void finish();

    // A fresh .MB file with no blobs (for a new table), written at `path`.
    static void writeEmpty(const std::string& path);

private:
    void open();
    void append(std::vector<std::uint8_t>& bytes);

    Commit& commit_;
    std::string mbPath_;
    std::uint32_t key_;
    os::File file_;
    std::uint64_t size_ = 0;
};

}  // namespace pdx
