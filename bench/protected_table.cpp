#include "protected_table.h"

#include "os/fs.h"
#include "pdx/format/bytes.h"
#include "pdx/format/cipher.h"
#include "pdx/format/db_format.h"

#include <vector>

namespace bench {

void writeProtectedCopy(const std::string& from, const std::string& to, std::uint32_t key) {
    namespace format = pdx::format;
    const os::File source(from, os::File::Mode::Read);
    std::vector<std::uint8_t> header(format::kDataHeaderEnd);
    source.readAt(0, header.data(), header.size());
    const std::size_t headerSize = pdx::bytes::le16(&header[format::kHeaderSize]);
    const std::size_t blockSize = header[format::kBlockSizeKiB] * format::kKiB;
    header.resize(headerSize);
    source.readAt(0, header.data(), header.size());
    pdx::bytes::putLe32(&header[format::kEncryption1], format::kEncryptionMoved);
    pdx::bytes::putLe32(&header[format::kEncryption2], key);

    os::File target(to, os::File::Mode::CreateNew);
    target.append(header.data(), header.size());
    std::vector<std::uint8_t> block(blockSize);
    const std::uint64_t size = source.size();
    std::uint32_t number = 1;
    for (std::uint64_t at = headerSize; at + blockSize <= size; at += blockSize, ++number) {
        source.readAt(at, block.data(), block.size());
        pdx::cipher::encodeBlock(block, key, number);
        target.append(block.data(), block.size());
    }
    target.sync();
}

}  // namespace bench
