#include "pxlib_table.h"

#include "jingle_rows.h"
#include "measure.h"

// paradox.h declares C functions without extern "C".
extern "C" {
#include <paradox.h>
}

#include <cstring>
#include <stdexcept>
#include <vector>

namespace bench {

namespace {

constexpr int kFkeySize = 4;
constexpr int kTitleSize = 40;
constexpr int kFileNameSize = 40;
constexpr int kArtistSize = 16;
constexpr int kRecordSize = kFkeySize + kTitleSize + kFileNameSize + kArtistSize;

class PxDoc {
public:
    PxDoc() : doc_(PX_new()) {
        if (!doc_) throw std::runtime_error("pxlib: PX_new failed");
    }
    ~PxDoc() {
        PX_close(doc_);
        PX_delete(doc_);
    }
    PxDoc(const PxDoc&) = delete;
    PxDoc& operator=(const PxDoc&) = delete;
    pxdoc_t* get() const { return doc_; }

private:
    pxdoc_t* doc_;
};

// Paradox stores a long big-endian with its sign bit flipped; alpha fields are zero-padded.
void putLong(char* at, std::int32_t value) {
    auto bits = static_cast<std::uint32_t>(value) ^ 0x80000000u;
    for (int i = 0; i < kFkeySize; ++i) at[i] = static_cast<char>(bits >> (8 * (kFkeySize - 1 - i)));
}

std::int32_t getLong(const char* at) {
    std::uint32_t bits = 0;
    for (int i = 0; i < kFkeySize; ++i) bits = bits << 8 | static_cast<unsigned char>(at[i]);
    return static_cast<std::int32_t>(bits ^ 0x80000000u);
}

void putAlpha(char* at, const std::string& text, int size) {
    std::memset(at, 0, size);
    std::memcpy(at, text.data(), std::min<std::size_t>(text.size(), size));
}

}  // namespace

void createWithPxlib(const std::string& path, std::int64_t rows) {
    PxDoc doc;
    char fkey[] = "FKey", title[] = "Title", fileName[] = "FileName", artist[] = "Artist";
    // pxlib takes ownership of the field array and frees it on close.
    auto* fields = static_cast<pxfield_t*>(doc.get()->malloc(doc.get(), 4 * sizeof(pxfield_t), "fields"));
    pxfield_t defs[] = {{fkey, pxfLong, kFkeySize, 0},
                        {title, pxfAlpha, kTitleSize, 0},
                        {fileName, pxfAlpha, kFileNameSize, 0},
                        {artist, pxfAlpha, kArtistSize, 0}};
    for (int i = 0; i < 4; ++i) {
        fields[i] = defs[i];
        fields[i].px_fname =
            static_cast<char*>(doc.get()->malloc(doc.get(), std::strlen(defs[i].px_fname) + 1, "name"));
        std::strcpy(fields[i].px_fname, defs[i].px_fname);
    }
    if (PX_create_file(doc.get(), fields, 4, path.c_str(), pxfFileTypNonIndexDB) < 0) {
        throw std::runtime_error("pxlib: cannot create " + path);
    }
    std::vector<char> record(kRecordSize);
    for (std::int64_t i = 0; i < rows; ++i) {
        JingleRow row = jingleRow(i);
        putLong(record.data(), row.fkey);
        putAlpha(record.data() + kFkeySize, row.title, kTitleSize);
        putAlpha(record.data() + kFkeySize + kTitleSize, row.fileName, kFileNameSize);
        putAlpha(record.data() + kFkeySize + kTitleSize + kFileNameSize, row.artist, kArtistSize);
        if (PX_put_record(doc.get(), record.data()) < 0)
            throw std::runtime_error("pxlib: cannot write a record");
    }
}

OneByOne deleteOneByOneWithPxlib(const std::string& path) {
    PxDoc doc;
    if (PX_open_file(doc.get(), path.c_str()) < 0) throw std::runtime_error("pxlib: cannot open " + path);
    OneByOne result;
    result.rows = PX_get_num_records(doc.get());
    std::vector<char> record(PX_get_recordsize(doc.get()));
    Stopwatch stopwatch;
    // From the last record back, so that the numbers of the rows still to visit stay put.
    for (std::int64_t recno = result.rows - 1; recno >= 0; --recno) {
        if (!PX_get_record(doc.get(), static_cast<int>(recno), record.data())) {
            throw std::runtime_error("pxlib: cannot read record " + std::to_string(recno));
        }
        if (getLong(record.data()) == kKeptCategory) continue;
        if (PX_delete_record(doc.get(), static_cast<int>(recno)) < 0) {
            throw std::runtime_error("pxlib: cannot delete record " + std::to_string(recno));
        }
        ++result.deleted;
    }
    result.seconds = stopwatch.seconds();
    return result;
}

}  // namespace bench
