#include "pdx/storage/blob_file.h"

#include "pdx/error.h"
#include "pdx/format/cipher.h"
#include "pdx/format/mb_format.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace pdx {
namespace {

namespace mb = format::mb;
using mb::readReference;
using mb::Reference;

bool allZero(const std::uint8_t* p, std::size_t n) {
    return std::all_of(p, p + n, [](std::uint8_t b) { return b == 0; });
}

}  // namespace

// A protected file's last unit, when the file ends inside it, cannot be decoded: it counts as
// missing.
BlobFile::BlobFile(const std::string& path, std::uint32_t key)
    : file_(path, os::File::Mode::Read),
      key_(key),
      size_(key == 0 ? file_.size() : file_.size() / cipher::kUnitSize * cipher::kUnitSize) {}

// Protected data is read in whole units and decoded.
void BlobFile::readAt(std::uint64_t at, void* out, std::size_t n) const {
    if (key_ == 0) {
        file_.readAt(at, out, n);
        return;
    }
    const std::uint64_t begin = at / cipher::kUnitSize * cipher::kUnitSize;
    const std::uint64_t end = (at + n + cipher::kUnitSize - 1) / cipher::kUnitSize * cipher::kUnitSize;
    std::vector<std::uint8_t> units(static_cast<std::size_t>(end - begin));
    file_.readAt(begin, units.data(), units.size());
    cipher::decodeBlobBytes(units, key_);
    std::memcpy(out, units.data() + (at - begin), n);
}

std::optional<std::string> BlobFile::readInRecord(const std::uint8_t* field, const FieldDef& def) {
    if (allZero(field, def.size)) return std::nullopt;
    const Reference ref = readReference(field, def.size);
    if (ref.length == 0) return std::nullopt;
    if (ref.length > ref.leader) {
        throw Error::refused("нет файла .MB с данными поля \"" + def.name + "\"");
    }
    return std::string(reinterpret_cast<const char*>(field), ref.length);
}

std::optional<std::string> BlobFile::read(const std::uint8_t* field, const FieldDef& def) const {
    if (allZero(field, def.size)) return std::nullopt;
    const Reference ref = readReference(field, def.size);
    if (ref.length == 0) return std::nullopt;
    if (ref.length <= ref.leader) {
        return std::string(reinterpret_cast<const char*>(field), ref.length);
    }
    const auto broken = [&](const std::string& why) {
        return Error::corrupt("поле \"" + def.name + "\": " + why + " в файле .MB");
    };
    if (ref.offset == 0 || ref.offset + std::uint64_t(mb::kSubTableAt) > size_) {
        throw broken("ссылка за пределы файла");
    }
    std::uint8_t head[mb::kSubTableAt];
    readAt(ref.offset, head, sizeof head);
    std::uint64_t at = 0;
    std::uint64_t length = 0;
    if (head[0] == mb::kSingleBlob) {
        if (ref.index != mb::kSingleBlobIndex) throw broken("неверный номер данных");
        if (bytes::le32(head + 3) != ref.length) throw broken("длина данных не совпадает");
        const bool graphic = def.type == FieldType::Graphic;
        if (graphic && ref.length < mb::kGraphicExtra) throw broken("неверная длина данных");
        at = ref.offset + mb::kSingleHeader + (graphic ? mb::kGraphicExtra : 0);
        length = ref.length - (graphic ? mb::kGraphicExtra : 0);
    } else if (head[0] == mb::kSubAllocated) {
        if (ref.index >= mb::kSubEntries) throw broken("неверный номер данных");
        if (ref.offset + mb::kSubTableAt + mb::kSubEntries * mb::kSubEntry > size_) {
            throw broken("ссылка за пределы файла");
        }
        std::uint8_t entry[mb::kSubEntry];
        readAt(ref.offset + mb::kSubTableAt + ref.index * mb::kSubEntry, entry, sizeof entry);
        if (entry[1] == 0 || (entry[1] - 1u) * mb::kSubUnit + entry[4] != ref.length) {
            throw broken("длина данных не совпадает");
        }
        at = ref.offset + std::uint64_t(entry[0]) * mb::kSubUnit;
        length = ref.length;
    } else {
        throw broken("ссылка не на блок данных");
    }
    if (at + length > size_) throw broken("данные за пределами файла");
    std::string data(length, '\0');
    readAt(at, data.data(), data.size());
    return data;
}

}  // namespace pdx
