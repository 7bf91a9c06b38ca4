// Every real table opens with the header facts and values an independent reader reports.
#include "pdx/error.h"
#include "pdx/table.h"
#include "pxlib_oracle.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

const std::string kSamples = PDX_SAMPLES;

#define REQUIRE_SAMPLES()                                                          \
    if (!std::filesystem::exists(kSamples)) GTEST_SKIP() << "no sample tables at " << kSamples

struct Sample {
    const char* path;
    int level;
    int fileType;
    int blockKiB;
    int records;
    int recordSize;
    const char* fields;  // "name:<letter><size>, ..." with the letters of the samples' README
};

// The README's letters for the field types.
char readmeLetter(pdx::FieldType type) {
    switch (type) {
    case pdx::FieldType::Alpha: return 'A';
    case pdx::FieldType::Date: return 'B';
    case pdx::FieldType::Short: return 'C';
    case pdx::FieldType::Long: return 'D';
    case pdx::FieldType::Currency: return 'E';
    case pdx::FieldType::Number: return 'F';
    case pdx::FieldType::Logical: return 'I';
    case pdx::FieldType::Memo: return 'L';
    case pdx::FieldType::FormattedMemo: return 'N';
    case pdx::FieldType::Ole: return 'O';
    case pdx::FieldType::Graphic: return 'P';
    case pdx::FieldType::Time: return 'T';
    case pdx::FieldType::Timestamp: return 'U';
    case pdx::FieldType::AutoInc: return 'V';
    case pdx::FieldType::Bcd: return 'W';
    case pdx::FieldType::Bytes: return 'X';
    case pdx::FieldType::Blob: return 'M';
    }
    return '?';
}

std::string describe(const std::vector<pdx::FieldDef>& fields) {
    std::string s;
    for (const auto& f : fields) {
        if (!s.empty()) s += ", ";
        const int size = f.type == pdx::FieldType::Bcd ? 17 : f.size;
        s += f.name + ":" + readmeLetter(f.type) + std::to_string(size);
    }
    return s;
}

const Sample kReadable[] = {
    {"fields/bcd.db", 0x0b, 2, 2, 3, 51, "A:W17, B:W17, C:W17"},
    {"fields/bytes.db", 0x0b, 2, 2, 1, 255, "BYTES:X255"},
    {"fields/date35.db", 0x04, 2, 2, 3, 4, "DATE:B4"},
    {"fields/date4.db", 0x09, 2, 2, 3, 4, "DATE:B4"},
    {"fields/date5.db", 0x0b, 2, 2, 3, 8, "DATE:B4, TIME:T4"},
    {"fields/date7.db", 0x0b, 2, 2, 5, 8, "DATE:B4, TIME:T4"},
    {"fields/fmemo.db", 0x0b, 0, 2, 2, 14, "Id:V4, FMEMO:N10"},
    {"fields/graphic.db", 0x0b, 0, 2, 3, 17, "Id:V4, Graphic:P10, Type:A3"},
    {"fields/graphic240.db", 0x0b, 0, 2, 1, 254, "Id:V4, Graph:P250"},
    {"fields/logical.db", 0x0b, 2, 2, 4, 1, "BOOL:I1"},
    {"fields/long.db", 0x0b, 0, 2, 3, 8, "Id:V4, LONG:D4"},
    {"fields/memo.db", 0x0b, 0, 2, 2, 254, "Id:V4, MEMO:L250"},
    {"fields/ole.db", 0x0b, 0, 2, 1, 14, "Id:V4, OLE:O10"},
    {"fields/time.db", 0x0b, 2, 2, 3, 4, "Time:T4"},
    {"fields/timestamp.db", 0x0b, 2, 2, 2, 8, "Timestamp:U8"},
    {"joins/A.db", 0x0b, 0, 2, 3, 4, "A:D4"},
    {"joins/B.db", 0x0b, 0, 2, 3, 4, "B:D4"},
    {"joins/C.DB", 0x0b, 0, 2, 3, 12, "C:D4, A:D4, B:D4"},
    {"joins/case.db", 0x09, 2, 2, 1, 10, "C:A10"},
    {"joins/destination.db", 0x0b, 2, 2, 1, 54, "ID:V4, NAME:A50"},
    {"joins/fk1.db", 0x0b, 0, 2, 0, 8, "ID:V4, FK:D4"},
    {"joins/fk2.db", 0x0b, 0, 2, 0, 8, "ID:V4, FK:D4"},
    {"joins/fk3.db", 0x0b, 0, 2, 0, 12, "ID:V4, FK:D4, FK2:D4"},
    {"joins/fk4.db", 0x0b, 0, 2, 2, 15, "ID:D4, FK1:D4, B1:A3, FK:D4"},
    {"joins/indexed.db", 0x0c, 2, 2, 0, 4, "Indexed:D4"},
    {"joins/joina.db", 0x09, 2, 2, 3, 2, "ID:C2"},
    {"joins/joinb.db", 0x09, 2, 2, 3, 2, "Id:C2"},
    {"joins/multiple.db", 0x0b, 0, 2, 0, 32, "ID:V4, FK:D4, A:A20, FK2:D4"},
    {"joins/origin.db", 0x0b, 2, 2, 1, 8, "ID:V4, FK:D4"},
    {"joins/paradox-ascii.db", 0x09, 2, 2, 0, 20, "A:A20"},
    {"joins/primary.db", 0x0b, 0, 2, 0, 54, "ID:V4, Name:A50"},
    {"joins/to_multiple.db", 0x0b, 0, 2, 0, 8, "ID:V4, FK:D4"},
    {"joins/two.db", 0x0b, 0, 2, 0, 11, "ID1:D4, ID2:D4, Name:A3"},
    {"misc/DECIMAL.DB", 0x0c, 2, 2, 9, 8, "DECIMAL:F8"},
    {"misc/GENERAL.DB", 0x0b, 0, 2, 3, 37, "ID:D4, NAME:A25, MONEYS:E8"},
    {"misc/ORDERS.DB", 0x0c, 0, 2, 224, 71,
     "Order No:F8, Customer No:F8, Sale Date:B4, Ship Date:B4, Ship VIA:A7, Total Invoice:E8, "
     "Amount Paid:E8, Balance Due:E8, Terms:A6, Payment Method:A7, Month:A3"},
    {"misc/ROMAN8.db", 0x09, 2, 2, 1, 20, "A:A20"},
    {"misc/tblAC.DB", 0x0c, 0, 16, 220, 267,
     "AreaCode:A6, State:A7, Effective:B4, AreasCovered:A250"},
};

class SampleTable : public ::testing::TestWithParam<Sample> {};

TEST_P(SampleTable, HeaderAndFieldsAsStored) {
    REQUIRE_SAMPLES();
    const Sample& s = GetParam();
    const pdx::Table table(kSamples + "/" + s.path);
    EXPECT_EQ(table.info().level, s.level);
    EXPECT_EQ(table.info().fileType, s.fileType);
    EXPECT_EQ(table.info().blockSize, s.blockKiB * 1024u);
    EXPECT_EQ(table.info().recordCount, static_cast<std::uint32_t>(s.records));
    EXPECT_EQ(table.info().recordSize, s.recordSize);
    EXPECT_EQ(describe(table.fields()), s.fields);
    EXPECT_FALSE(table.info().encrypted);
    EXPECT_EQ(table.readAll().size(), static_cast<std::size_t>(s.records));
}

// Values compared with pxlib's for every field pxlib decodes (it skips blobs; BCD as text).
TEST_P(SampleTable, ValuesMatchPxlib) {
    REQUIRE_SAMPLES();
    const Sample& s = GetParam();
    const std::string path = kSamples + "/" + s.path;
    const pdx::Table table(path);
    const auto ours = table.readAll();
    const oracle::PxTable theirs = oracle::read(path);
    ASSERT_EQ(theirs.records, s.records);
    ASSERT_EQ(ours.size(), theirs.rows.size());
    for (std::size_t r = 0; r < ours.size(); ++r) {
        for (std::size_t f = 0; f < table.fields().size(); ++f) {
            const auto& field = table.fields()[f];
            const pdx::Value& expected = theirs.rows[r][f];
            const pdx::Value& actual = ours[r][f];
            SCOPED_TRACE(std::string(s.path) + " record " + std::to_string(r) + " field " + field.name);
            switch (field.type) {
            case pdx::FieldType::Memo:
            case pdx::FieldType::FormattedMemo:
            case pdx::FieldType::Blob:
            case pdx::FieldType::Ole:
            case pdx::FieldType::Graphic: break;
            case pdx::FieldType::Alpha:
                // pxlib hands out the stored bytes; ours are UTF-8, equal for ASCII text.
                if (const auto* text = std::get_if<std::string>(&expected)) {
                    const bool ascii = std::all_of(text->begin(), text->end(),
                                                   [](char c) { return (c & 0x80) == 0; });
                    if (ascii) EXPECT_EQ(actual, expected);
                } else {
                    EXPECT_EQ(actual, expected);
                }
                break;
            case pdx::FieldType::Bcd:
                if (std::holds_alternative<std::monostate>(expected)) {
                    EXPECT_EQ(actual, expected);
                } else {
                    // pxlib prints every nibble (even ones above 9) and a bare trailing point;
                    // the digits both readers agree on are those up to the first such nibble.
                    const std::string theirs = std::get<std::string>(expected);
                    const std::string mine = pdx::formatValue(actual, field);
                    std::size_t same = 0;
                    while (same < theirs.size() && same < mine.size() && theirs[same] == mine[same]) ++same;
                    const bool theirsEnds = same == theirs.size() || theirs.substr(same) == "." ||
                                            !(std::isdigit(static_cast<unsigned char>(theirs[same])) || theirs[same] == '.');
                    EXPECT_TRUE(theirsEnds && same >= std::min<std::size_t>(3, mine.size()))
                        << mine << " vs pxlib " << theirs;
                }
                break;
            default: EXPECT_EQ(actual, expected);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleTable, ::testing::ValuesIn(kReadable),
                         [](const auto& info) {
                             std::string name = info.param.path;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             }
                             return name;
                         });

// Values a person can check by eye, independent of pxlib.
TEST(SampleValues, KnownValuesDecode) {
    REQUIRE_SAMPLES();
    const auto longRows = pdx::Table(kSamples + "/fields/long.db").readAll();
    ASSERT_EQ(longRows.size(), 3u);
    EXPECT_EQ(longRows[0][0], pdx::Value(std::int64_t{1}));

    const pdx::Table memo(kSamples + "/fields/memo.db");
    for (const auto& row : memo.readAll()) {
        EXPECT_TRUE(std::holds_alternative<std::string>(row[1]) ||
                    std::holds_alternative<std::monostate>(row[1]));
    }
    const pdx::Table orders(kSamples + "/misc/ORDERS.DB");
    EXPECT_EQ(orders.info().codePage, 437);
    EXPECT_EQ(orders.info().sortOrderName, "ascii");
    EXPECT_EQ(orders.info().keyFieldCount, 1);
    EXPECT_EQ(orders.info().headerSize, 0x800);
}

TEST(SampleValues, TableNamesMatchIgnoringCase) {
    REQUIRE_SAMPLES();
    EXPECT_EQ(pdx::Table(kSamples + "/misc/orders.db").info().recordCount, 224u);
    EXPECT_EQ(pdx::Table(kSamples + "/joins/c.db").info().recordCount, 3u);
}

TEST(SampleValues, EncryptedTableIsRefusedClearly) {
    REQUIRE_SAMPLES();
    try {
        pdx::Table table(kSamples + "/misc/encrypted.db");
        FAIL() << "an encrypted table opened";
    } catch (const pdx::Error& e) {
        EXPECT_NE(std::string(e.what()).find("encrypted.db"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("паролем"), std::string::npos) << e.what();
    }
}

}  // namespace
