#include "pdx/storage/blob_writer.h"

#include "pdx/storage/blob_file.h"
#include "pdx/format/bytes.h"
#include "pdx/format/db_format.h"
#include "pdx/storage/commit.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace pdx {
namespace {

// The first bytes of a .MB file's header block as Paradox writes them.
constexpr std::uint8_t kMbHeaderStart[] = {
    0x00, 0x01, 0x00, 0x01, 0x00, 0x82, 0x73, 0x02,
    0x00, 0x29, 0x00, 0x00, 0x10, 0x00, 0x10, 0x00,
    0x10, 0x40, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0xA1, 0x02};
constexpr std::uint32_t kSingleBlobIndex = 0xFF;
constexpr std::uint16_t kModificationNumber = 1;
constexpr std::size_t kCopyChunk = 1 << 20;

std::vector<std::uint8_t> headerBlock() {
    std::vector<std::uint8_t> block(mb::kBlockSize, 0);
    std::memcpy(block.data(), kMbHeaderStart, sizeof kMbHeaderStart);
    return block;
}

}  // namespace

BlobWriter::BlobWriter(std::string mbPath, std::string table)
    : mbPath_(std::move(mbPath)), table_(std::move(table)) {}

void BlobWriter::createEmpty(const std::string& path) {
    os::File file(path, os::File::Mode::CreateNew);
    const auto block = headerBlock();
    file.append(block.data(), block.size());
    file.sync();
}

void BlobWriter::open() {
    const std::string aside = asidePath(mbPath_);
    os::removeFile(aside);
    file_ = os::File(aside, os::File::Mode::CreateNew);
    if (os::fileExists(mbPath_)) {
        const os::File old(mbPath_, os::File::Mode::Read);
        const std::uint64_t oldSize = old.size();
        std::vector<std::uint8_t> chunk(kCopyChunk);
        for (std::uint64_t at = 0; at < oldSize; at += chunk.size()) {
            const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), oldSize - at));
            old.readAt(at, chunk.data(), n);
            file_.append(chunk.data(), n);
        }
        size_ = oldSize;
    }
    if (size_ == 0) {
        const auto block = headerBlock();
        file_.append(block.data(), block.size());
        size_ = block.size();
    }
    // New blobs start on a block boundary.
    if (size_ % mb::kBlockSize != 0) {
        const std::vector<std::uint8_t> pad(mb::kBlockSize - size_ % mb::kBlockSize, 0);
        file_.append(pad.data(), pad.size());
        size_ += pad.size();
    }
}

void BlobWriter::store(const std::string& data, const FieldDef& field, std::uint8_t* out) {
    std::memset(out, 0, field.size);
    if (data.empty()) return;
    const std::size_t leader = field.size - format::kBlobReference;
    std::uint8_t* reference = out + leader;
    std::memcpy(out, data.data(), std::min(leader, data.size()));
    const bool graphic = field.type == FieldType::Graphic;
    const std::uint32_t length = static_cast<std::uint32_t>(data.size() + (graphic ? mb::kGraphicExtra : 0));
    if (data.size() <= leader) {
        bytes::putLe32(reference + 4, length);
        return;
    }
    if (!file_.isOpen()) open();
    const std::size_t headerSize = mb::kSingleHeader + (graphic ? mb::kGraphicExtra : 0);
    const std::size_t blocks = (headerSize + data.size() + mb::kBlockSize - 1) / mb::kBlockSize;
    std::vector<std::uint8_t> chunk(blocks * mb::kBlockSize, 0);
    chunk[0] = mb::kSingleBlob;
    bytes::putLe16(&chunk[1], static_cast<std::uint32_t>(blocks));
    bytes::putLe32(&chunk[3], length);
    bytes::putLe16(&chunk[7], kModificationNumber);
    std::memcpy(&chunk[headerSize], data.data(), data.size());
    const std::uint64_t offset = size_;
    file_.append(chunk.data(), chunk.size());
    size_ += chunk.size();
    bytes::putLe32(reference, static_cast<std::uint32_t>(offset) | kSingleBlobIndex);
    bytes::putLe32(reference + 4, length);
    bytes::putLe16(reference + 8, kModificationNumber);
}

void BlobWriter::finish() {
    if (!file_.isOpen()) return;
    file_.sync();
    file_.close();
    finished_ = true;
}

void BlobWriter::commit() {
    if (finished_) os::replaceFile(asidePath(mbPath_), mbPath_);
    finished_ = false;
}

void BlobWriter::discard() {
    try {
        if (file_.isOpen()) file_.close();
    } catch (const os::Error&) {
    }
    removeQuietly(asidePath(mbPath_));
    finished_ = false;
}

}  // namespace pdx
