#include "pdx/storage/blob_file.h"

#include "pdx/format/bytes.h"
#include "pdx/format/db_format.h"
#include "pdx/format/messages.h"

#include <algorithm>

namespace pdx {
namespace {

struct Reference {
    std::uint32_t offset;  // block start in the .MB
    std::uint8_t index;    // entry in a sub-allocated block; 0xFF for a single blob
    std::uint32_t length;
    std::size_t leader;    // bytes of the data kept in the record
};

Reference referenceOf(const std::uint8_t* field, const FieldDef& def) {
    const std::size_t leader = def.size - format::kBlobReference;
    const std::uint8_t* ref = field + leader;
    const std::uint32_t where = bytes::le32(ref);
    return {where & 0xFFFFFF00u, static_cast<std::uint8_t>(where & 0xFF), bytes::le32(ref + 4),
            leader};
}

bool allZero(const std::uint8_t* p, std::size_t n) {
    return std::all_of(p, p + n, [](std::uint8_t b) { return b == 0; });
}

}  // namespace

BlobFile::BlobFile(const std::string& path, const std::string& table) : table_(table) {
    try {
        file_ = os::File(path, os::File::Mode::Read);
        size_ = file_.size();
    } catch (const os::Error& e) {
        throw fileError(table, e);
    }
}

std::optional<std::string> BlobFile::readInRecord(const std::uint8_t* field, const FieldDef& def,
                                                  const std::string& table) {
    if (allZero(field, def.size)) return std::nullopt;
    const Reference ref = referenceOf(field, def);
    if (ref.length == 0) return std::nullopt;
    if (ref.length > ref.leader) {
        throw tableError(table, "нет файла .MB с данными поля \"" + def.name + "\"");
    }
    return std::string(reinterpret_cast<const char*>(field), ref.length);
}

std::optional<std::string> BlobFile::read(const std::uint8_t* field, const FieldDef& def) const {
    if (allZero(field, def.size)) return std::nullopt;
    const Reference ref = referenceOf(field, def);
    if (ref.length == 0) return std::nullopt;
    if (ref.length <= ref.leader) {
        return std::string(reinterpret_cast<const char*>(field), ref.length);
    }
    const auto broken = [&](const std::string& why) {
        return corruptError(table_, "поле \"" + def.name + "\": " + why + " в файле .MB");
    };
    if (ref.offset == 0 || ref.offset + std::uint64_t(mb::kSubTableAt) > size_) {
        throw broken("ссылка за пределы файла");
    }
    std::uint8_t head[mb::kSubTableAt];
    file_.readAt(ref.offset, head, sizeof head);
    std::uint64_t at = 0;
    std::uint64_t length = 0;
    if (head[0] == mb::kSingleBlob) {
        if (ref.index != 0xFF) throw broken("неверный номер данных");
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
