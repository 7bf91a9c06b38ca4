// Every real table opens with the header facts the samples README lists.
#include "pdx/error.h"
#include "pdx/table.h"
#include "samples_table.h"

#include <gtest/gtest.h>

#include <filesystem>
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
    EXPECT_FALSE(table.info().encrypted);
    EXPECT_EQ(table.readAll().size(), static_cast<std::size_t>(s.records));
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleTable, ::testing::ValuesIn(kReadable), [](const auto& info) {
    std::string name = info.param.path;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
});

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

TEST(SampleValues, EncryptedTableShowsItsHeaderButRefusesItsRecords) {
    const pdx::Table table(kSamples + "/misc/encrypted.db");
    EXPECT_TRUE(table.info().encrypted);
    EXPECT_EQ(table.info().recordCount, 4u);
    EXPECT_EQ(table.fields().size(), 2u);
    try {
        table.readAll();
        FAIL() << "an encrypted table's records were read";
    } catch (const pdx::Error& e) {
        EXPECT_NE(std::string(e.what()).find("encrypted.db"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("паролем"), std::string::npos) << e.what();
    }
}

}  // namespace
