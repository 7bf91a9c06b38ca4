#include "pdx/storage/blob_file.h"

#include "pdx/error.h"
#include "pdx/format/mb_format.h"

#include <algorithm>

namespace pdx {
namespace {

namespace mb = format::mb;
using mb::readReference;
using mb::Reference;

bool allZero(const std::uint8_t* p, std::size_t n) {
    return std::all_of(p, p + n, [](std::uint8_t b) { return b == 0; });
}

}  // namespace

BlobFile::BlobFile(const std::string& path) : file_(path, os::File::Mode::Read), size_(file_.size()) {}

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
    file_.readAt(ref.offset, head, sizeof head);
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
        file_.readAt(ref.offset + mb::kSubTableAt + ref.index * mb::kSubEntry, entry, sizeof entry);
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
    file_.readAt(at, data.data(), data.size());
    return data;
}

}  // namespace pdx
