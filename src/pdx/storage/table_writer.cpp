#include "pdx/storage/table_writer.h"

#include "pdx/error.h"
#include "pdx/format/bytes.h"
#include "pdx/format/cipher.h"
#include "pdx/format/db_format.h"

#include <cstring>
#include <ctime>

namespace pdx {
void markChanged(std::vector<std::uint8_t>& header) {
    header[format::kChangeCount] = static_cast<std::uint8_t>(header[format::kChangeCount] + 1);
    if (header[format::kLevel] >= format::kFirstLevelWithDataHeader &&
        header.size() >= format::kDataHeaderEnd) {
        bytes::putLe32(&header[format::kUpdateTime], static_cast<std::uint32_t>(std::time(nullptr)));
    }
}

TableWriter::TableWriter(const std::string& path, const Header& header, std::size_t keySize)
    : header_(header.bytes),
      recordSize_(header.info.recordSize),
      blockSize_(header.info.blockSize),
      perBlock_((header.info.blockSize - format::kBlockHeader) / header.info.recordSize),
      keySize_(keySize),
      key_(header.key) {
    file_ = os::File(path, os::File::Mode::CreateNew);
    file_.append(header_.data(), header_.size());
    buffer_.reserve(os::kIoChunk + 2 * blockSize_);
}

std::uint16_t TableWriter::add(const std::uint8_t* record) {
    if (inBlock_ == 0) {
        if (blocks_.size() >= format::kMaxBlockCount) {
            throw Error::refused("таблица не помещается в 65535 блоков");
        }
        const auto number = static_cast<std::uint16_t>(blocks_.size() + 1);
        blocks_.push_back({number, 0, firstKeys_.size()});
        firstKeys_.insert(firstKeys_.end(), record, record + keySize_);
        const std::size_t at = buffer_.size();
        buffer_.resize(at + blockSize_, 0);
        bytes::putLe16(&buffer_[at + format::kBlockPrev], number - 1u);
    }
    std::uint8_t* block = buffer_.data() + buffer_.size() - blockSize_;
    std::memcpy(block + format::kBlockHeader + inBlock_ * recordSize_, record, recordSize_);
    ++records_;
    ++blocks_.back().records;
    const std::uint16_t number = blocks_.back().number;
    if (++inBlock_ == perBlock_) closeBlock();
    return number;
}

void TableWriter::closeBlock() {
    if (inBlock_ == 0) return;
    std::uint8_t* block = buffer_.data() + buffer_.size() - blockSize_;
    bytes::putLe16(block + format::kBlockNext, blocks_.back().number + 1u);
    bytes::putLe16(block + format::kBlockAddDataSize,
                   static_cast<std::uint32_t>((inBlock_ - 1) * recordSize_));
    inBlock_ = 0;
    // The last block stays: finish() may still unlink it.
    if (buffer_.size() >= os::kIoChunk + blockSize_) flush(buffer_.size() - blockSize_);
}

void TableWriter::flush(std::size_t bytes) {
    if (bytes == 0) return;
    if (key_ != 0) {
        const std::size_t blocks = bytes / blockSize_;
        const std::size_t firstNumber = blocks_.size() - buffer_.size() / blockSize_ + 1;
        for (std::size_t i = 0; i < blocks; ++i) {
            cipher::encodeBlock(std::span(buffer_).subspan(i * blockSize_, blockSize_), key_,
                                static_cast<std::uint32_t>(firstNumber + i));
        }
    }
    file_.append(buffer_.data(), bytes);
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(bytes));
}

void TableWriter::finish(std::int32_t autoIncrement) {
    closeBlock();
    // The last block links to none.
    if (!blocks_.empty())
        bytes::putLe16(buffer_.data() + buffer_.size() - blockSize_ + format::kBlockNext, 0);
    flush(buffer_.size());
    const auto count = static_cast<std::uint32_t>(blocks_.size());
    bytes::putLe32(&header_[format::kRecordCount], records_);
    bytes::putLe16(&header_[format::kUsedBlocks], count);
    bytes::putLe16(&header_[format::kFileBlocks], count);
    bytes::putLe16(&header_[format::kFirstBlock], count > 0 ? 1 : 0);
    bytes::putLe16(&header_[format::kLastBlock], count);
    bytes::putLe16(&header_[format::kMaxBlocks], count);
    bytes::putLe32(&header_[format::kAutoIncrement], static_cast<std::uint32_t>(autoIncrement));
    markChanged(header_);
    file_.writeAt(0, header_.data(), header_.size());
    file_.sync();
    file_.close();
}

}  // namespace pdx
