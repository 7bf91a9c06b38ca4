#include "pdx/storage/block_chain.h"

#include "pdx/error.h"
#include "pdx/format/bytes.h"
#include "pdx/format/cipher.h"
#include "pdx/format/db_format.h"

#include <algorithm>

namespace pdx {
namespace {

Error undecodable(std::uint16_t block) {
    return Error::refused("блок " + std::to_string(block) +
                          " защищённой таблицы обрезан концом файла внутри 256-байтного участка шифра: " +
                          "его записи нельзя расшифровать");
}

}  // namespace

BlockChain::BlockChain(const os::File& file, const Header& header)
    : file_(file),
      header_(header),
      recordSize_(header.info.recordSize),
      block_(header.info.blockSize),
      visited_(header.physicalBlocks + 1u, false),
      nextBlock_(header.firstBlock) {}

const std::uint8_t* BlockChain::nextRecord() {
    while (nextInBlock_ >= recordCount_) {
        if (!next()) return nullptr;
        nextInBlock_ = 0;
    }
    return record(nextInBlock_++);
}

bool BlockChain::next() {
    if (done_) return false;
    const std::uint32_t expected = header_.info.recordCount;
    if (nextBlock_ == 0) {
        done_ = true;
        if (total_ != expected) {
            throw Error::corrupt("в заголовке " + std::to_string(expected) + " записей, а в блоках " +
                                 std::to_string(total_));
        }
        return false;
    }
    if (nextBlock_ > header_.physicalBlocks) {
        throw Error::corrupt("ссылка на блок " + std::to_string(nextBlock_) + " за пределами файла");
    }
    if (visited_[nextBlock_]) {
        throw Error::corrupt("цепочка блоков замкнута в кольцо");
    }
    visited_[nextBlock_] = true;
    current_ = nextBlock_;
    const std::uint64_t at = header_.info.headerSize + std::uint64_t(current_ - 1) * header_.info.blockSize;
    const std::size_t stored = current_ == header_.physicalBlocks ? header_.lastBlockBytes : block_.size();
    file_.readAt(at, block_.data(), stored);
    std::fill(block_.begin() + static_cast<std::ptrdiff_t>(stored), block_.end(), 0);
    std::size_t readable = stored;
    if (header_.key != 0) {
        // A unit cut short by the end of the file cannot be decoded.
        readable = stored / cipher::kUnitSize * cipher::kUnitSize;
        cipher::decodeBlock(std::span(block_).first(readable), header_.key, current_);
        if (readable < format::kBlockHeader) throw undecodable(current_);
    }
    nextBlock_ = bytes::le16(&block_[format::kBlockNext]);
    const auto addDataSize = static_cast<std::int16_t>(bytes::le16(&block_[format::kBlockAddDataSize]));
    if (addDataSize < 0) {
        recordCount_ = 0;
    } else {
        const std::size_t used = std::size_t(addDataSize) + recordSize_;
        if (used % recordSize_ != 0 || format::kBlockHeader + used > block_.size()) {
            throw Error::corrupt("неверная заполненность блока " + std::to_string(current_));
        }
        if (format::kBlockHeader + used > readable) {
            if (readable < stored) throw undecodable(current_);
            throw Error::corrupt("записи блока " + std::to_string(current_) + " за пределами файла");
        }
        recordCount_ = used / recordSize_;
    }
    total_ += recordCount_;
    if (total_ > expected) {
        throw Error::corrupt("в блоках больше записей, чем указано в заголовке (" + std::to_string(expected) +
                             ")");
    }
    return true;
}

}  // namespace pdx
