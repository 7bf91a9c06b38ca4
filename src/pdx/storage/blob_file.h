// Reading blob fields: memo, blob, OLE and graphic data kept in the record when short, else
// in the table's .MB file (decoded when the table is protected).
#pragma once

#include "os/fs.h"
#include "pdx/value.h"

#include <cstdint>
#include <optional>
#include <string>

namespace pdx {

class BlobFile {
public:
    // Opens the .MB file (shared read) of a table whose key is `key` (0: not protected).
    BlobFile(const std::string& path, std::uint32_t key);

    // The data a blob field refers to; nullopt for a blank field. Reads the .MB only when the
    // data does not fit in the field itself. Throws pdx::Error on a broken reference.
    std::optional<std::string> read(const std::uint8_t* field, const FieldDef& def) const;

    // As read(), for a table without .MB file: works only for in-record data.
    static std::optional<std::string> readInRecord(const std::uint8_t* field, const FieldDef& def);

private:
    void readAt(std::uint64_t at, void* out, std::size_t n) const;

    os::File file_;
    std::uint32_t key_;
    std::uint64_t size_ = 0;
};

}  // namespace pdx
