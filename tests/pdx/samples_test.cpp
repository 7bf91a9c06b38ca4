// Every real table opens with the header facts the samples README lists.
#include "pdx/error.h"
#include "pdx/format/cipher.h"
#include "pdx/table.h"
#include "samples_table.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <span>
#include <string>

namespace {

using samples::describe;
using samples::kReadable;
using samples::Sample;

const std::string kSamples = PDX_SAMPLES;

class SampleTable : public ::testing::TestWithParam<Sample> {};

TEST_P(SampleTable, HeaderAndFieldsAsStored) {
    const Sample& s = GetParam();
    const pdx::Table table(kSamples + "/" + s.path);
    EXPECT_EQ(table.info().level, s.level);
    EXPECT_EQ(table.info().fileType, s.fileType);
    EXPECT_EQ(table.info().blockSize, s.blockKiB * 1024u);
    EXPECT_EQ(table.info().recordCount, static_cast<std::uint32_t>(s.records));
    EXPECT_EQ(table.info().recordSize, s.recordSize);
    EXPECT_EQ(describe(table.fields()), s.fields);
    EXPECT_EQ(table.info().encrypted, samples::isProtected(s));
    EXPECT_EQ(table.readAll().size(), static_cast<std::size_t>(s.records));
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleTable, ::testing::ValuesIn(kReadable),
                         [](const auto& info) { return samples::testName(info.param); });
INSTANTIATE_TEST_SUITE_P(Protected, SampleTable, ::testing::ValuesIn(samples::kProtected),
                         [](const auto& info) { return samples::testName(info.param); });

// Values a person can check by eye, independent of pxlib.
TEST(SampleValues, KnownValuesDecode) {
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

// A DOS table that names no code page but sorts by HP Roman-8 holds Roman-8 text.
TEST(SampleValues, RomanEightTextDecodes) {
    const pdx::Table roman(kSamples + "/misc/ROMAN8.db");
    EXPECT_EQ(roman.info().codePage, 0);
    EXPECT_EQ(roman.info().sortOrderName, "BLROM800");
    const auto rows = roman.readAll();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], pdx::Value(std::string("Š½ƒ¶")));
}

TEST(SampleValues, TableNamesMatchIgnoringCase) {
    EXPECT_EQ(pdx::Table(kSamples + "/misc/orders.db").info().recordCount, 224u);
    EXPECT_EQ(pdx::Table(kSamples + "/joins/c.db").info().recordCount, 3u);
}

// The values the samples' README lists for the protected tables, decoded without a password.
TEST(SampleValues, ProtectedTablesDecode) {
    using Rows = std::vector<std::vector<pdx::Value>>;
    const auto row = [](auto a, const char* b) { return std::vector<pdx::Value>{a, std::string(b)}; };
    EXPECT_EQ(pdx::Table(kSamples + "/misc/encrypted.db").readAll(),
              (Rows{row(std::int64_t{1}, "Value 1"), row(std::int64_t{2}, "Value 2"),
                    row(std::int64_t{3}, "Value 3"), row(std::int64_t{4}, "Last one")}));
    const pdx::Table old(kSamples + "/encrypt/encrypted35.db");
    EXPECT_EQ(old.readAll(), (Rows{row(1.0, "Test 1"), row(2.0, "Test2")}));
    EXPECT_EQ(old.info().sortOrderName, "");
    EXPECT_EQ(pdx::Table(kSamples + "/encrypt/encryptedmemo.db").info().sortOrderName, "ANSII850");
}

// A protected table's memos: the start each record keeps and the whole in the .MB file are
// decoded each in its own way, and agree.
TEST(SampleValues, ProtectedMemosDecode) {
    const std::string path = kSamples + "/encrypt/encryptedmemo.db";
    const auto rows = pdx::Table(path).readAll();
    ASSERT_EQ(rows.size(), 2u);
    std::string file = readFile(path);
    std::span block(reinterpret_cast<std::uint8_t*>(file.data()) + 0x800, 0x800);
    pdx::cipher::decodeBlock(block, 0x0A25E09A, 1);  // the key its header keeps at 0x5C
    const struct {
        std::size_t length;
        const char* start;
    } memos[] = {{55855, " The PARADOX File Structure"}, {494832, "(This is stale and you may wish"}};
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto& memo = std::get<std::string>(rows[r][0]);
        EXPECT_EQ(memo.size(), memos[r].length);
        EXPECT_TRUE(memo.starts_with(memos[r].start)) << memo.substr(0, 40);
        // The record keeps the first 240 bytes (the field less its 10-byte reference).
        const auto* inRecord = reinterpret_cast<const char*>(block.data()) + 6 + r * 250;
        EXPECT_EQ(memo.substr(0, 240), std::string(inRecord, 240));
        EXPECT_TRUE(std::all_of(memo.begin(), memo.end(), [](char c) {
            return (c >= ' ' && c < 0x7F) || c == '\n' || c == '\r' || c == '\t';
        }));
    }
}

}  // namespace
