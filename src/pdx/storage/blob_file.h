// The .MB file beside a table: where memo, blob, OLE and graphic data longer than a field's
// in-record part is kept.
#pragma once

#include "os/fs.h"
#include "pdx/value.h"

#include <cstdint>
#include <optional>
#include <string>

namespace pdx {

namespace mb {
constexpr std::size_t kBlockSize = 4096;
constexpr std::uint8_t kHeaderBlock = 0;
constexpr std::uint8_t kSingleBlob = 2;     // one blob spanning whole blocks
constexpr std::uint8_t kSubAllocated = 3;   // up to 64 small blobs in one block
constexpr std::size_t kSingleHeader = 9;    // type, block count, length, modification number
constexpr std::size_t kGraphicExtra = 8;    // graphics carry 8 more header bytes
constexpr std::size_t kSubTableAt = 12;     // sub-allocated block: table of 5-byte entries
constexpr std::size_t kSubEntry = 5;
constexpr std::size_t kSubEntries = 64;
constexpr std::size_t kSubUnit = 16;
}  // namespace mb

class BlobFile {
public:
    // Opens the .MB file (shared read). `table` names the table in errors.
    BlobFile(const std::string& path, const std::string& table);

    // The data a blob field refers to; nullopt for a blank field. Reads the .MB only when the
    // data does not fit in the field itself. Throws pdx::Error on a broken reference.
    std::optional<std::string> read(const std::uint8_t* field, const FieldDef& def) const;

    // As read(), for a table without .MB file: works only for in-record data.
    static std::optional<std::string> readInRecord(const std::uint8_t* field, const FieldDef& def,
                                                   const std::string& table);

private:
    os::File file_;
    std::uint64_t size_ = 0;
    std::string table_;
};

}  // namespace pdx
