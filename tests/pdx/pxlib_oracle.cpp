#include "pxlib_oracle.h"

#include <gtest/gtest.h>
extern "C" {
#include <paradox.h>
}

#include <cstdlib>
#include <cstring>
#include <memory>

namespace oracle {
namespace {

// pxlib hands out a blank field's pattern as the type's smallest value.
constexpr long kBlankLong = -2147483647L - 1;
constexpr short kBlankShort = -32768;

struct Doc {
    pxdoc_t* doc = PX_new();
    ~Doc() {
        if (doc) {
            PX_close(doc);
            PX_delete(doc);
        }
    }
};

pdx::Value decode(pxdoc_t* doc, const pxfield_t& f, char* data) {
    switch (static_cast<pdx::FieldType>(f.px_ftype)) {
    case pdx::FieldType::Alpha: {
        char* s = nullptr;
        if (PX_get_data_alpha(doc, data, f.px_flen, &s) <= 0 || !s) return {};
        std::string out(s);
        doc->free(doc, s);
        return out;
    }
    case pdx::FieldType::Short: {
        short v;
        if (PX_get_data_short(doc, data, f.px_flen, &v) <= 0 || v == kBlankShort) return {};
        return std::int64_t{v};
    }
    case pdx::FieldType::Long:
    case pdx::FieldType::AutoInc: {
        long v;
        if (PX_get_data_long(doc, data, f.px_flen, &v) <= 0 || v == kBlankLong) return {};
        return std::int64_t{v};
    }
    case pdx::FieldType::Date: {
        long v;
        if (PX_get_data_long(doc, data, f.px_flen, &v) <= 0 || v == kBlankLong) return {};
        return pdx::Date{static_cast<std::int32_t>(v)};
    }
    case pdx::FieldType::Time: {
        long v;
        if (PX_get_data_long(doc, data, f.px_flen, &v) <= 0 || v == kBlankLong) return {};
        return pdx::Time{static_cast<std::int32_t>(v)};
    }
    case pdx::FieldType::Currency:
    case pdx::FieldType::Number: {
        double v;
        if (PX_get_data_double(doc, data, f.px_flen, &v) <= 0) return {};
        return v;
    }
    case pdx::FieldType::Timestamp: {
        double v;
        if (PX_get_data_double(doc, data, f.px_flen, &v) <= 0) return {};
        return pdx::Timestamp{v};
    }
    case pdx::FieldType::Logical: {
        char v;
        if (PX_get_data_byte(doc, data, f.px_flen, &v) <= 0) return {};
        return v != 0;
    }
    case pdx::FieldType::Bytes: {
        return pdx::Binary{std::vector<std::uint8_t>(data, data + f.px_flen)};
    }
    case pdx::FieldType::Bcd: {
        char* s = nullptr;
        if (PX_get_data_bcd(doc, reinterpret_cast<unsigned char*>(data), f.px_fdc, &s) <= 0 || !s) {
            return {};
        }
        std::string text(s);
        doc->free(doc, s);
        return text;  // compared as text by the tests
    }
    default: return {};
    }
}

}  // namespace

PxTable read(const std::string& path) {
    PxTable t;
    Doc d;
    if (PX_open_file(d.doc, path.c_str()) < 0) {
        ADD_FAILURE() << "pxlib cannot open " << path;
        return t;
    }
    t.records = PX_get_num_records(d.doc);
    t.recordSize = PX_get_recordsize(d.doc);
    t.fileType = d.doc->px_head->px_filetype;
    const int count = PX_get_num_fields(d.doc);
    const pxfield_t* fields = PX_get_fields(d.doc);
    for (int i = 0; i < count; ++i) {
        const auto type = static_cast<pdx::FieldType>(fields[i].px_ftype);
        const int size = type == pdx::FieldType::Bcd ? fields[i].px_fdc : fields[i].px_flen;
        t.fields.push_back({fields[i].px_fname, type, static_cast<std::uint8_t>(size)});
    }
    std::vector<char> buffer(t.recordSize);
    for (int r = 0; r < t.records; ++r) {
        if (!PX_get_record(d.doc, r, buffer.data())) {
            ADD_FAILURE() << "pxlib cannot read record " << r << " of " << path;
            break;
        }
        t.rawRecords.emplace_back(buffer.data(), buffer.size());
        std::vector<pdx::Value> row;
        int offset = 0;
        for (int i = 0; i < count; ++i) {
            row.push_back(decode(d.doc, fields[i], buffer.data() + offset));
            offset += fields[i].px_flen;
        }
        t.rows.push_back(std::move(row));
    }
    return t;
}

void writeAlphaTable(const std::string& path, int codePage, const std::vector<pdx::FieldDef>& fields,
                     const std::vector<std::vector<std::string>>& rows) {
    Doc d;
    // pxlib takes the field array and its names, and frees them on close.
    auto* defs = static_cast<pxfield_t*>(d.doc->malloc(d.doc, fields.size() * sizeof(pxfield_t), "fields"));
    int recordSize = 0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string& name = fields[i].name;
        defs[i].px_fname = static_cast<char*>(d.doc->malloc(d.doc, name.size() + 1, "name"));
        std::memcpy(defs[i].px_fname, name.c_str(), name.size() + 1);
        defs[i].px_ftype = pxfAlpha;
        defs[i].px_flen = fields[i].size;
        defs[i].px_fdc = 0;
        recordSize += fields[i].size;
    }
    if (PX_create_file(d.doc, defs, static_cast<int>(fields.size()), path.c_str(), pxfFileTypNonIndexDB) <
            0 ||
        PX_set_value(d.doc, "codepage", static_cast<float>(codePage)) < 0) {
        ADD_FAILURE() << "pxlib cannot create " << path;
        return;
    }
    for (const auto& row : rows) {
        std::string record(static_cast<std::size_t>(recordSize), '\0');
        std::size_t at = 0;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            record.replace(at, row[i].size(), row[i]);
            at += fields[i].size;
        }
        if (PX_put_record(d.doc, record.data()) < 0)
            ADD_FAILURE() << "pxlib cannot write a record of " << path;
    }
}

std::vector<std::string> readThroughIndex(const std::string& dbPath, const std::string& pxPath) {
    std::vector<std::string> records;
    Doc db;
    Doc px;
    if (PX_open_file(px.doc, pxPath.c_str()) < 0 || PX_read_primary_index(px.doc) < 0) {
        ADD_FAILURE() << "pxlib cannot read the index " << pxPath;
        return records;
    }
    if (PX_open_file(db.doc, dbPath.c_str()) < 0) {
        ADD_FAILURE() << "pxlib cannot open " << dbPath;
        return records;
    }
    if (PX_add_primary_index(db.doc, px.doc) < 0) {
        ADD_FAILURE() << "pxlib does not accept the index " << pxPath;
        return records;
    }
    const int count = PX_get_num_records(db.doc);
    std::vector<char> buffer(PX_get_recordsize(db.doc));
    for (int r = 0; r < count; ++r) {
        if (!PX_get_record(db.doc, r, buffer.data())) {
            ADD_FAILURE() << "pxlib cannot read record " << r << " through the index";
            break;
        }
        records.emplace_back(buffer.data(), buffer.size());
    }
    return records;
}

}  // namespace oracle
