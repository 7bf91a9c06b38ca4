// Stores blob field data for new records: in the record when it fits, else in a copy of the
// table's .MB file written aside (old content kept, new blobs appended in whole blocks).
#pragma once

#include "os/fs.h"
#include "pdx/value.h"

#include <cstdint>
#include <string>

namespace pdx {

class BlobWriter {
public:
    // `mbPath` is where the table's .MB file is or will be.
    BlobWriter(std::string mbPath, std::string table);

    // Fills the field's bytes at `out` for `data` (blank when empty).
    void store(const std::string& data, const FieldDef& field, std::uint8_t* out);

    // Flushes the aside file; then commit() puts it in place (the old file's blobs stay
    // valid in the new one, so this may precede the table's own replacement).
    void finish();
    void commit();
    void discard();

    // A fresh .MB file with no blobs (for a new table), written at `path`.
    static void createEmpty(const std::string& path);

private:
    void open();

    std::string mbPath_;
    std::string table_;
    os::File file_;
    std::uint64_t size_ = 0;
    bool finished_ = false;
};

}  // namespace pdx
