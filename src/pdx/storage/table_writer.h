// Writes a table file aside: the header bytes it is given, then the records packed into
// linked blocks in order, encoded under the header's key when the table is protected;
// finish() patches the header's counts and flushes the file.
#pragma once

#include "os/fs.h"
#include "pdx/format/header.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pdx {

// What a primary index needs to know of each data block.
struct BlockSummary {
    std::uint16_t number;
    std::uint16_t records;
    std::size_t firstKeyAt;  // offset of the block's first key in TableWriter::firstKeys()
};

class TableWriter {
public:
    // Creates `path` (which must not exist). `header` is copied; `keySize` bytes of each
    // block's first record are kept for the index.
    TableWriter(const std::string& path, const Header& header, std::size_t keySize);

    // Returns the number of the block the record went to.
    std::uint16_t add(const std::uint8_t* record);
    // Completes the file: counts, block links, change counter and update time in the
    // header; data flushed to disk. `autoIncrement` replaces the header's counter.
    void finish(std::int32_t autoIncrement);

    const std::vector<std::uint8_t>& header() const { return header_; }
    const std::vector<BlockSummary>& blocks() const { return blocks_; }
    const std::vector<std::uint8_t>& firstKeys() const { return firstKeys_; }

private:
    void closeBlock();
    // Writes the first `bytes` of the buffer (whole blocks) and drops them from it.
    void flush(std::size_t bytes);

    os::File file_;
    std::vector<std::uint8_t> header_;
    std::size_t recordSize_;
    std::size_t blockSize_;
    std::size_t perBlock_;
    std::size_t keySize_;
    std::uint32_t key_;
    std::vector<std::uint8_t> buffer_;  // whole blocks waiting to be written, the last ones
    std::size_t inBlock_ = 0;           // records in the block being filled
    std::uint32_t records_ = 0;
    std::vector<BlockSummary> blocks_;
    std::vector<std::uint8_t> firstKeys_;
};

// Bumps the table's change counter and stamps the update time, as Paradox does on a change.
void markChanged(std::vector<std::uint8_t>& header);

}  // namespace pdx
