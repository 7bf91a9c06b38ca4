#include "pdx/storage/primary_index.h"

#include "os/fs.h"
#include "pdx/format/bytes.h"
#include "pdx/format/cipher.h"
#include "pdx/format/field_layout.h"
#include "pdx/format/px_format.h"

#include <algorithm>
#include <cstring>

namespace pdx {
namespace {

using namespace format;
using px::getShort;
using px::putCount;
using px::putShort;

struct Entry {
    std::vector<std::uint8_t> key;
    std::uint16_t target;   // data block (level 1) or index block
    std::uint32_t records;  // records under it
};

std::uint32_t indexBlockKiB(std::size_t entrySize) {
    const std::size_t needed = kBlockHeader + px::kMinEntriesPerBlock * entrySize;
    return std::max<std::uint32_t>(px::kMinBlockSizeKiB,
                                   static_cast<std::uint32_t>((needed + kKiB - 1) / kKiB));
}

}  // namespace

void writePrimaryIndex(const std::string& path, const std::string& indexName, const Header& tableHeader,
                       const std::vector<std::uint8_t>& written, const std::vector<BlockSummary>& blocks,
                       const std::vector<std::uint8_t>& firstKeys, std::uint8_t fileType) {
    const std::size_t keySize = tableHeader.keySize();
    const std::size_t entrySize = keySize + px::kEntryTail;
    const std::uint32_t blockKiB = indexBlockKiB(entrySize);
    const std::size_t blockSize = blockKiB * kKiB;
    const std::size_t perBlock = (blockSize - kBlockHeader) / entrySize;

    // Levels from the data blocks up, until one block holds a level.
    std::vector<std::vector<Entry>> levels(1);
    for (const auto& b : blocks) {
        levels[0].push_back({std::vector<std::uint8_t>(firstKeys.begin() + b.firstKeyAt,
                                                       firstKeys.begin() + b.firstKeyAt + keySize),
                             b.number, b.records});
    }
    while (levels.back().size() > perBlock) {
        std::vector<Entry> upper;
        const auto& lower = levels.back();
        for (std::size_t i = 0; i < lower.size(); i += perBlock) {
            Entry e{lower[i].key, 0, 0};
            for (std::size_t k = i; k < std::min(lower.size(), i + perBlock); ++k)
                e.records += lower[k].records;
            upper.push_back(std::move(e));
        }
        levels.push_back(std::move(upper));
    }
    // Number the blocks root first, then each level below.
    std::vector<std::size_t> firstBlockOfLevel(levels.size());
    std::size_t next = 1;
    for (std::size_t l = levels.size(); l-- > 0;) {
        firstBlockOfLevel[l] = next;
        next += (levels[l].size() + perBlock - 1) / perBlock;
    }
    for (std::size_t l = 1; l < levels.size(); ++l) {
        for (std::size_t i = 0; i < levels[l].size(); ++i) {
            levels[l][i].target = static_cast<std::uint16_t>(firstBlockOfLevel[l - 1] + i);
        }
    }
    const std::size_t blockCount = blocks.empty() ? 0 : next - 1;
    std::size_t entryCount = 0;
    for (const auto& level : levels) entryCount += level.size();

    std::vector<std::uint8_t> header(px::kHeaderSize, 0);
    bytes::putLe16(&header[kRecordSize], static_cast<std::uint32_t>(entrySize));
    bytes::putLe16(&header[kHeaderSize], px::kHeaderSize);
    header[kFileType] = fileType;
    header[kBlockSizeKiB] = static_cast<std::uint8_t>(blockKiB);
    bytes::putLe32(&header[kRecordCount], static_cast<std::uint32_t>(entryCount));
    bytes::putLe16(&header[kUsedBlocks], static_cast<std::uint32_t>(blockCount));
    bytes::putLe16(&header[kFileBlocks], static_cast<std::uint32_t>(blockCount));
    bytes::putLe16(&header[kFirstBlock], blockCount > 0 ? 1 : 0);
    bytes::putLe16(&header[kLastBlock], static_cast<std::uint32_t>(blockCount));
    std::memcpy(&header[kUnknown12], &written[kUnknown12], 2);
    bytes::putLe16(&header[px::kRoot], 1);
    header[px::kLevels] = static_cast<std::uint8_t>(blocks.empty() ? 0 : levels.size());
    bytes::putLe16(&header[kFieldCount], tableHeader.info.keyFieldCount);
    header[kSortOrder] = written[kSortOrder];
    header[px::kTableChangeCount] = written[kChangeCount];
    header[kLevel] = written[kLevel];
    bytes::putLe16(&header[kMaxBlocks], static_cast<std::uint32_t>(blockCount));
    bytes::putLe32(&header[kAutoIncrement], px::kAutoIncrementValue);
    // A protected table's index is protected under its key, which an index keeps here.
    bytes::putLe32(&header[kEncryption1], tableHeader.key);
    std::size_t at = kCommonHeaderEnd;
    for (std::size_t i = 0; i < tableHeader.info.keyFieldCount; ++i) {
        const std::size_t from =
            (tableHeader.info.level >= kFirstLevelWithDataHeader ? kDataHeaderEnd : kCommonHeaderEnd) + 2 * i;
        header[at++] = written[from];
        header[at++] = written[from + 1];
    }
    at += kPointerSize;
    const std::size_t nameLength =
        written[kLevel] >= kFirstLevelWithLongName ? kLongTableName : kShortTableName;
    std::memcpy(&header[at], indexName.data(), std::min(indexName.size(), nameLength - 1));
    at += nameLength;
    bytes::putLe16(&header[kRealHeaderSize], static_cast<std::uint32_t>(at));

    os::File file(path, os::File::Mode::CreateNew);
    file.append(header.data(), header.size());
    std::vector<std::uint8_t> block(blockSize);
    for (std::size_t l = levels.size(); l-- > 0;) {
        const auto& level = levels[l];
        for (std::size_t i = 0; i < level.size(); i += perBlock) {
            std::fill(block.begin(), block.end(), 0);
            const std::size_t number = firstBlockOfLevel[l] + i / perBlock;
            const std::size_t n = std::min(perBlock, level.size() - i);
            bytes::putLe16(&block[kBlockNext], number < blockCount ? number + 1 : 0);
            bytes::putLe16(&block[kBlockPrev], static_cast<std::uint32_t>(number - 1));
            bytes::putLe16(&block[kBlockAddDataSize], static_cast<std::uint32_t>((n - 1) * entrySize));
            for (std::size_t k = 0; k < n; ++k) {
                std::uint8_t* e = &block[kBlockHeader + k * entrySize];
                std::memcpy(e, level[i + k].key.data(), keySize);
                putShort(e + keySize, level[i + k].target);
                putCount(e + keySize + 2, level[i + k].records);
                putShort(e + keySize + 4, 0);
            }
            if (tableHeader.key != 0)
                cipher::encodeBlock(block, tableHeader.key, static_cast<std::uint32_t>(number));
            file.append(block.data(), block.size());
        }
    }
    file.sync();
    file.close();
}

bool indexDescribes(const std::string& path, const Header& tableHeader) {
    try {
        os::File file(path, os::File::Mode::Read);
        const std::uint64_t size = file.size();
        std::vector<std::uint8_t> h(kCommonHeaderEnd + 2u * tableHeader.info.keyFieldCount);
        if (size < h.size()) return false;
        file.readAt(0, h.data(), h.size());
        const auto& table = tableHeader.bytes;
        const std::size_t keySize = tableHeader.keySize();
        if (h[kFileType] != kPrimaryIndex || bytes::le16(&h[kRecordSize]) != keySize + px::kEntryTail ||
            bytes::le16(&h[kFieldCount]) != tableHeader.info.keyFieldCount ||
            h[px::kTableChangeCount] != table[kChangeCount]) {
            return false;
        }
        for (std::size_t i = 0; i < tableHeader.info.keyFieldCount; ++i) {
            const FieldDef& f = tableHeader.fields[i];
            if (h[kCommonHeaderEnd + 2 * i] != static_cast<std::uint8_t>(f.type) ||
                h[kCommonHeaderEnd + 2 * i + 1] != f.size) {
                return false;
            }
        }
        // The root block's entries count every record.
        const std::uint16_t headerSize = bytes::le16(&h[kHeaderSize]);
        const std::uint32_t blockSize = h[kBlockSizeKiB] * kKiB;
        const std::uint16_t root = bytes::le16(&h[px::kRoot]);
        if (tableHeader.info.recordCount == 0) return bytes::le16(&h[kFileBlocks]) == 0;
        if (root == 0 || blockSize == 0) return false;
        const std::uint64_t at = headerSize + std::uint64_t(root - 1) * blockSize;
        if (at + blockSize > size) return false;
        std::vector<std::uint8_t> block(blockSize);
        file.readAt(at, block.data(), block.size());
        if (const std::uint32_t key = cipher::keyOf(h)) cipher::decodeBlock(block, key, root);
        const auto add = static_cast<std::int16_t>(bytes::le16(&block[kBlockAddDataSize]));
        if (add < 0) return false;
        const std::size_t entrySize = keySize + px::kEntryTail;
        const std::size_t n = std::size_t(add) / entrySize + 1;
        if (kBlockHeader + n * entrySize > blockSize) return false;
        std::uint64_t total = 0;
        for (std::size_t k = 0; k < n; ++k) {
            total += getShort(&block[kBlockHeader + k * entrySize + keySize + 2]);
        }
        return total == tableHeader.info.recordCount;
    } catch (const os::Error&) {
        return false;
    }
}

}  // namespace pdx
