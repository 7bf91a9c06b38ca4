#include "pdx/format/header.h"

#include "pdx/error.h"
#include "pdx/format/bytes.h"
#include "pdx/format/cipher.h"
#include "pdx/format/db_format.h"
#include "pdx/format/field_layout.h"
#include "pdx/format/xnn_format.h"

#include <algorithm>

namespace pdx {
namespace {

using namespace format;

// Reads the header's sequential part, failing on anything past its end.
class Reader {
public:
    Reader(const std::vector<std::uint8_t>& bytes, std::size_t at) : bytes_(bytes), at_(at) {}
    const std::uint8_t* take(std::size_t n) {
        if (n > bytes_.size() || at_ > bytes_.size() - n) {
            throw Error::corrupt("описание полей выходит за пределы заголовка");
        }
        const std::uint8_t* p = bytes_.data() + at_;
        at_ += n;
        return p;
    }
    bool atEnd() const { return at_ >= bytes_.size(); }
    // A NUL-terminated string; `required` false lets it end with the header instead.
    std::string zstring(bool required = true) {
        const auto begin = bytes_.begin() + static_cast<std::ptrdiff_t>(std::min(at_, bytes_.size()));
        const auto end = std::find(begin, bytes_.end(), 0);
        if (end == bytes_.end() && required) {
            throw Error::corrupt("имя поля выходит за пределы заголовка");
        }
        std::string s(begin, end);
        at_ += s.size() + 1;
        return s;
    }

private:
    const std::vector<std::uint8_t>& bytes_;
    std::size_t at_;
};

}  // namespace

std::size_t Header::keySize() const {
    std::size_t size = 0;
    for (std::size_t i = 0; i < info.keyFieldCount && i < fields.size(); ++i) {
        size += fieldWidth(fields[i]);
    }
    return size;
}

Header parseHeader(std::vector<std::uint8_t> b, std::uint64_t fileSize, HeaderOf kind) {
    if (b.size() < kCommonHeaderEnd) throw Error::corrupt("файл короче заголовка");
    Header h;
    TableInfo& info = h.info;
    info.level = b[kLevel];
    info.fileType = b[kFileType];
    info.headerSize = bytes::le16(&b[kHeaderSize]);
    info.recordSize = bytes::le16(&b[kRecordSize]);
    info.recordCount = bytes::le32(&b[kRecordCount]);
    info.fileBlocks = bytes::le16(&b[kFileBlocks]);
    info.sortOrder = b[kSortOrder];
    info.autoIncrement = static_cast<std::int32_t>(bytes::le32(&b[kAutoIncrement]));
    info.keyFieldCount = bytes::le16(&b[kKeyFieldCount]);
    const std::uint8_t blockKiB = b[kBlockSizeKiB];
    const std::uint16_t fieldCount = bytes::le16(&b[kFieldCount]);
    h.firstBlock = bytes::le16(&b[kFirstBlock]);

    if (info.level < kMinLevel || info.level > kMaxLevel) {
        throw Error::refused("неизвестная версия формата Paradox (" + std::to_string(info.level) + ")");
    }
    if (kind == HeaderOf::Table && info.fileType != kKeyedTable && info.fileType != kUnkeyedTable) {
        throw Error::refused("файл не является таблицей Paradox (тип " + std::to_string(info.fileType) + ")");
    }
    if (kind == HeaderOf::SecondaryIndex) {
        if (!xnn::isEntries(info.fileType)) {
            throw Error::refused("файл неизвестного вида (тип " + std::to_string(info.fileType) + ")");
        }
        if (info.level < xnn::kFirstLevel) {
            throw Error::refused("версия формата " + std::to_string(info.level) + " не поддерживается");
        }
    }
    if (blockKiB < 1 || blockKiB > kMaxBlockSizeKiB) {
        throw Error::corrupt("недопустимый размер блока");
    }
    info.blockSize = blockKiB * kKiB;
    const bool dataHeader = info.level >= kFirstLevelWithDataHeader;
    const std::size_t fieldInfoAt = dataHeader ? kDataHeaderEnd : kCommonHeaderEnd;
    if (info.headerSize < fieldInfoAt || info.headerSize > fileSize) {
        throw Error::corrupt("недопустимый размер заголовка");
    }
    if (info.recordSize == 0 || info.recordSize + kBlockHeader > info.blockSize) {
        throw Error::corrupt("недопустимый размер записи");
    }
    if (fieldCount == 0 || info.keyFieldCount > fieldCount) {
        throw Error::corrupt("недопустимое число полей");
    }
    b.resize(info.headerSize);
    if (b.size() < fieldInfoAt) throw Error::corrupt("файл короче заголовка");
    h.key = cipher::keyOf(b);
    info.encrypted = h.key != 0;
    info.codePage = dataHeader ? bytes::le16(&b[kCodePage]) : kDefaultDosCodePage;

    Reader reader(b, fieldInfoAt);
    std::size_t offset = 0;
    for (std::uint16_t i = 0; i < fieldCount; ++i) {
        const std::uint8_t* rec = reader.take(2);
        if (!isValidField(rec[0], rec[1])) {
            throw Error::corrupt("поле " + std::to_string(i + 1) + " неизвестного типа " +
                                 std::to_string(rec[0]) + " или размера " + std::to_string(rec[1]));
        }
        FieldDef field{"", static_cast<FieldType>(rec[0]), rec[1]};
        h.offsets.push_back(offset);
        offset += fieldWidth(field);
        h.fields.push_back(field);
    }
    if (offset != info.recordSize) {
        throw Error::corrupt("сумма размеров полей не равна размеру записи");
    }
    reader.take(kPointerSize);
    reader.take(kPointerSize * fieldCount);
    reader.take(info.level >= kFirstLevelWithLongName ? kLongTableName : kShortTableName);
    std::vector<std::string> rawNames;
    for (std::uint16_t i = 0; i < fieldCount; ++i) rawNames.push_back(reader.zstring());
    if (!reader.atEnd()) {
        // Field numbers, then the sort order's name (absent in some old tables).
        try {
            const std::uint8_t* numbers = reader.take(2u * fieldCount);
            for (std::uint16_t i = 0; i < fieldCount; ++i)
                h.fieldNumbers.push_back(bytes::le16(numbers + 2 * i));
            info.sortOrderName = reader.zstring(false);
        } catch (const Error&) {
            info.sortOrderName.clear();
        }
    }
    h.codePage = CodePage::forTable(info.codePage, info.sortOrderName);
    for (std::size_t i = 0; i < h.fields.size(); ++i) {
        auto name = h.codePage.toUtf8(rawNames[i]);
        h.fields[i].name = name ? *name : rawNames[i];
    }
    // Paradox may end the file right after the last record of its last block.
    const std::uint64_t data = fileSize - info.headerSize;
    const std::uint64_t tail = data % info.blockSize;
    const std::uint64_t blocks = data / info.blockSize + (tail >= kBlockHeader ? 1 : 0);
    h.physicalBlocks = static_cast<std::uint32_t>(std::min<std::uint64_t>(blocks, kMaxBlockCount));
    h.lastBlockBytes = tail >= kBlockHeader && blocks <= kMaxBlockCount ? tail : info.blockSize;
    h.bytes = std::move(b);
    return h;
}

std::size_t headerSizeOf(const std::vector<std::uint8_t>& first, std::uint64_t fileSize) {
    if (first.size() < kCommonHeaderEnd) throw Error::corrupt("файл короче заголовка");
    const std::uint16_t headerSize = bytes::le16(&first[kHeaderSize]);
    if (headerSize < kCommonHeaderEnd || headerSize > fileSize) {
        throw Error::corrupt("недопустимый размер заголовка");
    }
    return headerSize;
}

}  // namespace pdx
