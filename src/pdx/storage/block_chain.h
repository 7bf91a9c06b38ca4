// Walks a table's data blocks along their links (never in file order), checking each link,
// each block's fill and the total against the header. A protected table's blocks are decoded
// as they are read. The file may end right after the last record of its last block.
#pragma once

#include "os/fs.h"
#include "pdx/format/db_format.h"
#include "pdx/format/header.h"

#include <cstdint>
#include <vector>

namespace pdx {

class BlockChain {
public:
    BlockChain(const os::File& file, const Header& header);

    // Reads the next block; false after the last one (when the record total has been
    // checked against the header). Throws pdx::Error on a broken, cyclic or overfull chain.
    bool next();
    // The next record along the chain, reading blocks as needed; null after the last. For
    // walking records one by one instead of block by block with next().
    const std::uint8_t* nextRecord();

    std::uint16_t number() const { return current_; }
    std::size_t recordCount() const { return recordCount_; }
    const std::uint8_t* record(std::size_t i) const {
        return block_.data() + format::kBlockHeader + i * recordSize_;
    }

private:
    const os::File& file_;
    const Header& header_;
    std::size_t recordSize_;
    std::vector<std::uint8_t> block_;
    std::vector<bool> visited_;
    std::uint16_t current_ = 0;
    std::uint16_t nextBlock_;
    std::size_t recordCount_ = 0;
    std::size_t nextInBlock_ = 0;  // for nextRecord()
    std::uint64_t total_ = 0;
    bool done_ = false;
};

}  // namespace pdx
