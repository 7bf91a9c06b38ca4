#include "pdx/storage/blob_writer.h"

#include "pdx/format/bytes.h"
#include "pdx/format/cipher.h"
#include "pdx/format/mb_format.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace pdx {
namespace {

namespace mb = format::mb;

std::vector<std::uint8_t> headerBlock() {
    std::vector<std::uint8_t> block(mb::kBlockSize, 0);
    std::memcpy(block.data(), mb::kHeaderStart, sizeof mb::kHeaderStart);
    return block;
}

}  // namespace

BlobWriter::BlobWriter(Commit& commit, std::string mbPath, std::uint32_t key)
    : commit_(commit), mbPath_(std::move(mbPath)), key_(key) {}

void BlobWriter::writeEmpty(const std::string& path) {
    os::File file(path, os::File::Mode::CreateNew);
    const auto block = headerBlock();
    file.append(block.data(), block.size());
    file.sync();
}

void BlobWriter::open() {
    file_ = os::File(commit_.stage(mbPath_, FileRole::Blobs), os::File::Mode::CreateNew);
    if (os::fileExists(mbPath_)) {
        const os::File old(mbPath_, os::File::Mode::Read);
        const std::uint64_t oldSize = old.size();
        std::vector<std::uint8_t> chunk(os::kIoChunk);
        for (std::uint64_t at = 0; at < oldSize; at += chunk.size()) {
            const std::size_t n =
                static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), oldSize - at));
            old.readAt(at, chunk.data(), n);
            file_.append(chunk.data(), n);
        }
        size_ = oldSize;
    }
    if (size_ == 0) {
        auto block = headerBlock();
        append(block);
    }
    // New blobs start on a block boundary.
    if (size_ % mb::kBlockSize != 0) {
        std::vector<std::uint8_t> pad(mb::kBlockSize - size_ % mb::kBlockSize, 0);
        // A protected file is encoded unit by unit: so are the whole units the pad adds.
        if (key_ != 0) {
            const std::size_t whole = pad.size() / cipher::kUnitSize * cipher::kUnitSize;
            cipher::encodeBlobBytes(std::span(pad).last(whole), key_);
        }
        file_.append(pad.data(), pad.size());
        size_ += pad.size();
    }
}

// Appends whole blocks, encoded when the table is protected.
void BlobWriter::append(std::vector<std::uint8_t>& bytes) {
    if (key_ != 0) cipher::encodeBlobBytes(bytes, key_);
    file_.append(bytes.data(), bytes.size());
    size_ += bytes.size();
}

void BlobWriter::store(const std::string& data, const FieldDef& field, std::uint8_t* out) {
    std::memset(out, 0, field.size);
    if (data.empty()) return;
    const std::size_t leader = field.size - mb::kReferenceSize;
    std::memcpy(out, data.data(), std::min(leader, data.size()));
    const bool graphic = field.type == FieldType::Graphic;
    const auto length = static_cast<std::uint32_t>(data.size() + (graphic ? mb::kGraphicExtra : 0));
    if (data.size() <= leader) {
        mb::writeReference(out, field.size, {0, 0, length, leader}, 0);
        return;
    }
    if (!file_.isOpen()) open();
    const std::size_t headerSize = mb::kSingleHeader + (graphic ? mb::kGraphicExtra : 0);
    const std::size_t blocks = (headerSize + data.size() + mb::kBlockSize - 1) / mb::kBlockSize;
    std::vector<std::uint8_t> chunk(blocks * mb::kBlockSize, 0);
    chunk[0] = mb::kSingleBlob;
    bytes::putLe16(&chunk[1], static_cast<std::uint32_t>(blocks));
    bytes::putLe32(&chunk[3], length);
    bytes::putLe16(&chunk[7], mb::kModificationNumber);
    std::memcpy(&chunk[headerSize], data.data(), data.size());
    const std::uint64_t offset = size_;
    append(chunk);
    mb::writeReference(out, field.size,
                       {static_cast<std::uint32_t>(offset), mb::kSingleBlobIndex, length, leader},
                       mb::kModificationNumber);
}

void BlobWriter::finish() {
    if (!file_.isOpen()) return;
    file_.sync();
    file_.close();
}

}  // namespace pdx
