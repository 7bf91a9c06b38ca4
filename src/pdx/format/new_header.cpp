#include "pdx/format/new_header.h"

#include "pdx/error.h"
#include "pdx/format/bytes.h"
#include "pdx/format/codepage.h"
#include "pdx/format/db_format.h"
#include "pdx/format/field_layout.h"

#include <algorithm>
#include <cstring>
#include <ctime>

namespace pdx {
namespace {

using namespace format;

constexpr std::size_t kMinRecordsPerBlock = 10;

}  // namespace

std::uint32_t blockSizeKiBFor(std::size_t recordSize) {
    for (std::uint32_t kib = 2; kib <= kMaxBlockSizeKiB; kib *= 2) {
        if ((kib * kKiB - kBlockHeader) / recordSize >= kMinRecordsPerBlock) return kib;
    }
    return kMaxBlockSizeKiB;
}

std::vector<std::uint8_t> buildHeader(const NewTable& t) {
    const CodePage codePage(t.codePage);
    const std::size_t n = t.fields.size();
    std::size_t recordSize = 0;
    std::vector<std::string> names;
    std::size_t namesLength = 0;
    for (const auto& f : t.fields) {
        recordSize += fieldWidth(f);
        std::string bad;
        auto stored = codePage.fromUtf8(f.name, &bad);
        if (!stored) {
            throw Error::refused("имя поля \"" + f.name + "\" нельзя записать в кодовой странице " +
                                 std::to_string(t.codePage));
        }
        namesLength += stored->size() + 1;
        names.push_back(std::move(*stored));
    }
    const std::size_t fieldInfoEnd = kDataHeaderEnd + 2 * n;
    const std::size_t tableNameAt = fieldInfoEnd + kPointerSize + kPointerSize * n;
    const std::size_t namesAt = tableNameAt + kLongTableName;
    const std::size_t numbersAt = namesAt + namesLength;
    const std::size_t sortOrderAt = numbersAt + 2 * n;
    const std::size_t realSize = sortOrderAt + std::strlen(kAsciiSortOrder) + 1;
    const std::size_t headerSize = (realSize + kNewHeaderUnit - 1) / kNewHeaderUnit * kNewHeaderUnit;
    if (headerSize > 0xFFFF) throw Error::refused("слишком много полей");

    std::vector<std::uint8_t> h(headerSize, 0);
    bytes::putLe16(&h[kRecordSize], static_cast<std::uint32_t>(recordSize));
    bytes::putLe16(&h[kHeaderSize], static_cast<std::uint32_t>(headerSize));
    h[kFileType] = t.keyFieldCount > 0 ? kKeyedTable : kUnkeyedTable;
    h[kBlockSizeKiB] = static_cast<std::uint8_t>(blockSizeKiBFor(recordSize));
    bytes::putLe16(&h[kFieldCount], static_cast<std::uint32_t>(n));
    bytes::putLe16(&h[kKeyFieldCount], static_cast<std::uint32_t>(t.keyFieldCount));
    bytes::putLe32(&h[kEncryption1], kEncryptionMoved);
    h[kSortOrder] = kAsciiSortOrderByte;
    h[kLevel] = kParadox7;
    bytes::putLe16(&h[kUnknown3E], kUnknown3EValue);
    bytes::putLe16(&h[kRealHeaderSize], static_cast<std::uint32_t>(realSize));
    h[kUnknown56] = kUnknown56Value;
    bytes::putLe16(&h[kLevelId1], 0x0100u | kParadox7);
    bytes::putLe16(&h[kLevelId2], 0x0100u | kParadox7);
    bytes::putLe32(&h[kUpdateTime], static_cast<std::uint32_t>(std::time(nullptr)));
    bytes::putLe16(&h[kHiFieldId], static_cast<std::uint32_t>(n + 1));
    bytes::putLe16(&h[kHiFieldIdInfo], static_cast<std::uint32_t>(kHiFieldIdInfoBase + 6 * n + kPointerSize +
                                                                  kLongTableName + namesLength));
    bytes::putLe16(&h[kCodePage], t.codePage);
    bytes::putLe16(&h[kUnknown6C], kUnknown6CValue);
    bytes::putLe16(&h[kUnknown6E], static_cast<std::uint32_t>(kUnknown6EBase + 8 * n + kPointerSize +
                                                              kLongTableName + namesLength));
    bytes::putLe16(&h[kChangeCount4], kFirstChangeCount4);
    for (std::size_t i = 0; i < n; ++i) {
        h[kDataHeaderEnd + 2 * i] = static_cast<std::uint8_t>(t.fields[i].type);
        h[kDataHeaderEnd + 2 * i + 1] = t.fields[i].size;
        bytes::putLe16(&h[numbersAt + 2 * i], static_cast<std::uint32_t>(i + 1));
    }
    std::memcpy(&h[tableNameAt], t.fileName.data(), std::min(t.fileName.size(), kLongTableName - 1));
    std::size_t at = namesAt;
    for (const auto& name : names) {
        std::memcpy(&h[at], name.data(), name.size());
        at += name.size() + 1;
    }
    std::memcpy(&h[sortOrderAt], kAsciiSortOrder, std::strlen(kAsciiSortOrder));
    return h;
}

}  // namespace pdx
